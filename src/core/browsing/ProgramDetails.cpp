#include "browsing/ProgramDetails.h"

#include "catalogue/Utilities.h"
#include "host/Prompts.h"
#include "host/Shell.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

#include <algorithm>

namespace vorbix {

namespace {

std::vector<DetailsLink> LinkRange(const ProgramRecord& program, std::size_t from, std::size_t to)
{
    std::vector<DetailsLink> links;
    for (std::size_t i = from; i < std::min(to, program.DocLinkNames.size()); ++i)
        links.push_back({program.DocLinkNames[i], PairedEntry(program.DocLinkUrls, i)});
    return links;
}

} // namespace

ProgramDetails DetailsFor(const ProgramRecord& program, int rowCount)
{
    ProgramDetails details;
    details.HasProgram = true;
    details.PictureFile = PictureFileFor(program.FileUrl);
    details.PictureExists = PictureFileExists(program.FileUrl);
    details.BoxCoverFile = BoxCoverFileFor(program.FileUrl);
    details.BoxCoverExists = BoxCoverFileExists(program.FileUrl);
    details.CommentLines = program.Comments;
    for (std::size_t i = 0; i < program.EmuWarningEmus.size(); ++i)
        details.WarningLines.push_back(program.EmuWarningEmus[i] + ": " + PairedEntry(program.EmuWarningTexts, i));
    details.LeftLinks = LinkRange(program, 0, kLinksPerColumn);
    details.RightLinks = LinkRange(program, kLinksPerColumn, 2 * kLinksPerColumn);
    details.Status = StatusBarTexts(program, rowCount);
    return details;
}

void OpenDocumentLink(const std::string& target, Prompts& prompts, Shell& shell)
{
    if (LinkTargetExists(target))
        shell.Open(target);
    else
        prompts.ShowMessageBox({"", "Cannot find file " + target, MessageIcon::Stop, MessageButtons::Ok});
}

} // namespace vorbix
