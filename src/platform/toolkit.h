#pragma once
// Where the toolkit finds its plugins.

namespace platform {

// Qt looks for its plugins where it was installed. A Qt that travels with the program (the
// libraries a disc carries for systems without Qt) keeps them beside its libraries, in
// qt6/plugins, as Debian lays them out; that place is searched first. Call before the application
// object is created.
void LookForPluginsBesideToolkit();

}  // namespace platform
