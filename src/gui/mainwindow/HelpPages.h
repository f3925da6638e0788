#pragma once
// The help pages are documents opened through the shell: the application folder's own
// "HELP/" page when there is one, else the installed copy under "share/vorbix/HELP/".

#include <string>

namespace vorbix {
class Prompts;
class Shell;
struct Catalogue;
} // namespace vorbix

namespace vorbix::gui {

// The page's path: AppDir + "HELP/" + page when that file exists, else the first installed
// copy that exists, else the application folder's path (the one a missing page is reported by).
std::string HelpPagePath(const Catalogue& catalogue, const std::string& page);

// A dialog's "&Help": opens the page's path with the page's folder as working folder. A
// missing page is "Cannot find file PATH" and an opener that cannot start is "Cannot open
// PATH: REASON", both shown through prompts, as for Help > Contents.
void OpenHelpPage(Shell& shell, Prompts& prompts, const Catalogue& catalogue, const std::string& page);

} // namespace vorbix::gui
