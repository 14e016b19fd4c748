#include "platform/online.h"

#include <QHostAddress>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QString>

namespace platform {

namespace {

bool IsRoutable(const std::string& text) {
  QHostAddress address;
  if (!address.setAddress(QString::fromStdString(text))) return false;
  return !address.isNull() && !address.isLoopback() && !address.isLinkLocal() &&
         address != QHostAddress(QHostAddress::AnyIPv4) && address != QHostAddress(QHostAddress::AnyIPv6);
}

bool SomeInterfaceIsOnline(const std::vector<InterfaceFacts>& interfaces) {
  for (const InterfaceFacts& facts : interfaces) {
    if (facts.isLoopback || !facts.isUp || !facts.isRunning) continue;
    for (const std::string& address : facts.addresses)
      if (IsRoutable(address)) return true;
  }
  return false;
}

Reachability FromQt(QNetworkInformation::Reachability reachability) {
  switch (reachability) {
    case QNetworkInformation::Reachability::Disconnected: return Reachability::Disconnected;
    case QNetworkInformation::Reachability::Local: return Reachability::Local;
    case QNetworkInformation::Reachability::Site: return Reachability::Site;
    case QNetworkInformation::Reachability::Online: return Reachability::Online;
    case QNetworkInformation::Reachability::Unknown: break;
  }
  return Reachability::Unknown;
}

// Only one monitor can be loaded per process; the first that loads stays.
NetworkBackend LoadMonitor() {
  if (QNetworkInformation* loaded = QNetworkInformation::instance()) {
    const QString name = loaded->backendName().toLower();
    if (name == QLatin1String("networkmanager")) return NetworkBackend::NetworkManager;
    if (name == QLatin1String("glib")) return NetworkBackend::GLib;
    return NetworkBackend::None;
  }
  if (QNetworkInformation::loadBackendByName(u"networkmanager")) return NetworkBackend::NetworkManager;
  if (QNetworkInformation::loadBackendByName(u"glib")) return NetworkBackend::GLib;
  return NetworkBackend::None;
}

std::vector<InterfaceFacts> GatherInterfaces() {
  std::vector<InterfaceFacts> result;
  for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
    InterfaceFacts facts;
    facts.name = iface.name().toStdString();
    const QNetworkInterface::InterfaceFlags flags = iface.flags();
    facts.isLoopback = flags.testFlag(QNetworkInterface::IsLoopBack);
    facts.isUp = flags.testFlag(QNetworkInterface::IsUp);
    facts.isRunning = flags.testFlag(QNetworkInterface::IsRunning);
    for (const QNetworkAddressEntry& entry : iface.addressEntries())
      facts.addresses.push_back(entry.ip().toString().toStdString());
    result.push_back(std::move(facts));
  }
  return result;
}

}  // namespace

bool DecideOnline(const OnlineFacts& facts) {
  if (facts.reachability != Reachability::Unknown) {
    if (facts.backend == NetworkBackend::NetworkManager)
      return facts.reachability >= Reachability::Local;
    if (facts.backend == NetworkBackend::GLib) return facts.reachability >= Reachability::Site;
  }
  return SomeInterfaceIsOnline(facts.interfaces);
}

bool IsInternetConnected() {
  OnlineFacts facts;
  facts.backend = LoadMonitor();
  if (facts.backend != NetworkBackend::None)
    facts.reachability = FromQt(QNetworkInformation::instance()->reachability());
  facts.interfaces = GatherInterfaces();
  return DecideOnline(facts);
}

}  // namespace platform
