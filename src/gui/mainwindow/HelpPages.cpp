#include "mainwindow/HelpPages.h"

#include "catalogue/Utilities.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace vorbix::gui {

bool InstallHelpPages(const std::string& appDir)
{
    const std::string folder = appDir + "HELP";
    if (DirectoryExists(folder))
        return true;
    if (!ForceDirectories(folder))
        return false;
    QDirIterator pages(":/HELP", {"*.HTM"}, QDir::Files);
    while (pages.hasNext()) {
        QFile page(pages.next());
        if (!page.open(QIODevice::ReadOnly))
            return false;
        const QByteArray bytes = page.readAll();
        // A read-only application folder: the pages are simply missing.
        if (!WriteFileAtomic(folder + "/" + pages.fileName().toStdString(), bytes.toStdString()))
            return false;
    }
    return true;
}

void OpenHelpPage(Shell& shell, const std::string& appDir, const std::string& page)
{
    const std::string path = appDir + "HELP/" + page;
    ShellOpenIn(shell, path, FolderPart(path));
}

} // namespace vorbix::gui
