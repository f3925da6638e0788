#pragma once
// The help pages travel inside the program and are written under AppDir + "HELP/" on
// first start, where Help, Contents and the dialogs' Help buttons open them.

#include <string>

namespace vorbix {
class Shell;
}

namespace vorbix::gui {

// Writes the built-in pages when the application folder has no "HELP" folder yet; an
// existing folder (and whatever the user keeps in it) is left alone. Returns whether the
// pages are now in place.
bool InstallHelpPages(const std::string& appDir);

// A dialog's "&Help": opens appDir + "HELP/" + page with the page's folder as working
// folder. A page that is missing is not reported; the desktop's opener has the last word.
void OpenHelpPage(Shell& shell, const std::string& appDir, const std::string& page);

} // namespace vorbix::gui
