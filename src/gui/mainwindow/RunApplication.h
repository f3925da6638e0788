#pragma once
// The run of the program once its application object exists: the catalogue over its
// application folder, the window's prompts and the system's shell, the main window (which
// creates every other window) and the message loop until the run ends.

#include <string>

namespace vorbix::gui {

// appDir is the resolved application folder, ending in '/'. Returns the exit status.
int RunApplication(const std::string& appDir);

} // namespace vorbix::gui
