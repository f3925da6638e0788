#pragma once
// The help pages are documents opened through the shell: the application folder's own
// "HELP/" page when there is one, else the installed copy under "share/vorbix/HELP/".

#include <string>

namespace vorbix {
class Shell;
struct Catalogue;
} // namespace vorbix

namespace vorbix::gui {

// The page's path: AppDir + "HELP/" + page when that file exists, else the first installed
// copy that exists, else the application folder's path (the one a missing page is reported by).
std::string HelpPagePath(const Catalogue& catalogue, const std::string& page);

// A dialog's "&Help": opens the page's path with the page's folder as working folder. A page
// that is missing is not reported; the desktop's opener has the last word.
void OpenHelpPage(Shell& shell, const Catalogue& catalogue, const std::string& page);

} // namespace vorbix::gui
