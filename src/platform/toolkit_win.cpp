// The Windows launcher carries Qt and its plugins inside its one program file.
#include "platform/toolkit.h"

namespace platform {

void LookForPluginsBesideToolkit() {}

}  // namespace platform
