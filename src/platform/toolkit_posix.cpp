// The toolkit's plugins beside its shared libraries.
#include <dlfcn.h>

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>
#include <string>

#include "platform/toolkit.h"

namespace platform {

void LookForPluginsBesideToolkit() {
  Dl_info library{};
  if (::dladdr(reinterpret_cast<void*>(&qVersion), &library) == 0 || library.dli_fname == nullptr) return;
  const std::string path = library.dli_fname;
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return;
  // The system's Qt gives its own plugin directory here, which Qt then lists only once.
  QCoreApplication::addLibraryPath(QString::fromLocal8Bit(path.substr(0, slash) + "/qt6/plugins"));
}

}  // namespace platform
