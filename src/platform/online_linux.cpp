// The online check on Linux: the desktop's network monitor through Qt, else the interfaces.
#include "platform/online_linux.h"

#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QString>

#include "platform/online.h"

namespace platform {

namespace {

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

std::optional<bool> MonitorVerdict(NetworkBackend backend, Reachability reachability) {
  if (reachability == Reachability::Unknown) return std::nullopt;
  switch (backend) {
    case NetworkBackend::NetworkManager: return reachability >= Reachability::Local;
    case NetworkBackend::GLib: return reachability >= Reachability::Site;
    case NetworkBackend::None: break;
  }
  return std::nullopt;
}

bool IsInternetConnected() {
  OnlineFacts facts;
  const NetworkBackend backend = LoadMonitor();
  if (backend != NetworkBackend::None)
    facts.monitorSaysOnline = MonitorVerdict(backend, FromQt(QNetworkInformation::instance()->reachability()));
  facts.interfaces = GatherInterfaces();
  return DecideOnline(facts);
}

}  // namespace platform
