#pragma once
// The help pages travel inside the program and are written under AppDir + "HELP/" on
// first start, where Help, Contents and the dialogs' Help buttons open them.

#include <string>

namespace vorbix::gui {

// Writes the built-in pages when the application folder has no "HELP" folder yet; an
// existing folder (and whatever the user keeps in it) is left alone. Returns whether the
// pages are now in place.
bool InstallHelpPages(const std::string& appDir);

} // namespace vorbix::gui
