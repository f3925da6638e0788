#pragma once
// The run of the program once its application object exists: the catalogue over its
// application folder, the window's prompts and the system's shell, the main window (which
// creates every other window) and the message loop until the run ends.

#include <string>
#include <vector>

namespace vorbix::gui {

struct StartOptions {
    std::string AppDir; // the resolved application folder, ending in '/'
    std::vector<std::string> InstalledDataDirs; // where the installed help pages may be
    std::vector<std::string> Files; // named on the command line, handled as a drop
};

// Returns the exit status.
int RunApplication(const StartOptions& options);

} // namespace vorbix::gui
