#include "browsing/ContainingFolder.h"

#include "catalogue/Utilities.h"
#include "host/Prompts.h"
#include "host/Shell.h"
#include "platform/FileSystem.h"

namespace vorbix {

std::string ContainingFolder(const ProgramRecord& program)
{
    return FolderPart(program.FileUrl);
}

void OpenContainingFolder(const ProgramRecord& program, Prompts& prompts, Shell& shell)
{
    const std::string folder = ContainingFolder(program);
    if (folder.empty() || !DirectoryExists(folder)) {
        prompts.ShowMessageBox({"", "Cannot find folder " + (folder.empty() ? program.FileUrl : folder),
            MessageIcon::Stop, MessageButtons::Ok});
        return;
    }
    const StartResult opened = shell.Open(folder);
    if (!opened.Succeeded())
        prompts.ShowMessageBox(
            {"", "Cannot open " + folder + (opened.Reason.empty() ? std::string() : ": " + opened.Reason),
                MessageIcon::Stop, MessageButtons::Ok});
}

} // namespace vorbix
