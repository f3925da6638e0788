#include "mainwindow/HelpPages.h"

#include "browsing/ProgramDetails.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Utilities.h"
#include "platform/FileSystem.h"

namespace vorbix::gui {

std::string HelpPagePath(const Catalogue& catalogue, const std::string& page)
{
    std::string own = catalogue.AppFile("HELP/" + page);
    if (FileExists(own))
        return own;
    for (const std::string& dir : catalogue.InstalledDataDirs) {
        std::string installed = dir;
        installed.append("HELP/").append(page);
        if (FileExists(installed))
            return installed;
    }
    return own;
}

void OpenHelpPage(Shell& shell, Prompts& prompts, const Catalogue& catalogue, const std::string& page)
{
    const std::string path = HelpPagePath(catalogue, page);
    OpenDocumentLink(path, prompts, shell, FolderPart(path));
}

} // namespace vorbix::gui
