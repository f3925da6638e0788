#include "browsing/ProgramDetails.h"

#include "catalogue/Utilities.h"
#include "discs/DiscContents.h"
#include "host/Prompts.h"
#include "host/Shell.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

#include <algorithm>
#include <cctype>
#include <string_view>

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
    details.ImageFile = program.FileUrl;
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

StringList DiscTabLines(const ProgramDetails& details)
{
    if (!details.HasProgram)
        return {};
    if (details.ImageFile.empty())
        return {"No image file"};
    Result<ImageDescription> description = DescribeImageFile(details.ImageFile);
    if (!description)
        return {description.Message()};
    return std::move(description).Value().Lines;
}

bool IsWebAddress(const std::string& target)
{
    const auto startsWith = [&target](std::string_view scheme) {
        return target.size() > scheme.size()
            && std::equal(scheme.begin(), scheme.end(), target.begin(),
                [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    };
    return startsWith("http://") || startsWith("https://");
}

void OpenDocumentLink(const std::string& target, Prompts& prompts, Shell& shell, const std::string& workingDir)
{
    if (!IsWebAddress(target) && !LinkTargetExists(target)) {
        prompts.ShowMessageBox({"", "Cannot find file " + target, MessageIcon::Stop, MessageButtons::Ok});
        return;
    }
    // Without a desktop opener (no xdg-open) nothing would happen at all.
    const StartResult opened = workingDir.empty() ? shell.Open(target) : shell.OpenIn(target, workingDir);
    if (!opened.Succeeded())
        prompts.ShowMessageBox(
            {"", "Cannot open " + target + (opened.Reason.empty() ? std::string() : ": " + opened.Reason),
                MessageIcon::Stop, MessageButtons::Ok});
}

} // namespace vorbix
