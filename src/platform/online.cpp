#include "platform/online.h"

#include <QHostAddress>
#include <QString>

namespace platform {

namespace {

bool IsRoutable(const std::string& text) {
  QHostAddress address;
  if (!address.setAddress(QString::fromStdString(text))) return false;
  return !address.isNull() && !address.isLoopback() && !address.isLinkLocal() &&
         address != QHostAddress(QHostAddress::AnyIPv4) && address != QHostAddress(QHostAddress::AnyIPv6);
}

}  // namespace

bool DecideOnline(const OnlineFacts& facts) {
  if (facts.monitorSaysOnline) return *facts.monitorSaysOnline;
  for (const InterfaceFacts& iface : facts.interfaces) {
    if (iface.isLoopback || !iface.isUp || !iface.isRunning) continue;
    for (const std::string& address : iface.addresses)
      if (IsRoutable(address)) return true;
  }
  return false;
}

}  // namespace platform
