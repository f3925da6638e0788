#include "editing/LinkEditing.h"

#include "catalogue/Utilities.h"
#include "editing/ListRows.h"
#include "platform/Collation.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <utility>

namespace vorbix {

namespace {

// "*.*" means every file on Windows; elsewhere it would hide the files without an
// extension (README, a man page), so there every file is "*".
#ifdef _WIN32
const char* const kAllFilesFilter = "All Files|*.*";
#else
const char* const kAllFilesFilter = "All Files|*";
#endif

bool ValidRow(const std::vector<DocLink>& links, int row)
{
    return row >= 0 && static_cast<std::size_t>(row) < links.size();
}

int Exchange(std::vector<DocLink>& links, int row, int other)
{
    if (!ValidRow(links, row) || !ValidRow(links, other))
        return row;
    std::swap(links[static_cast<std::size_t>(row)], links[static_cast<std::size_t>(other)]);
    return other;
}

} // namespace

std::vector<DocLink> LinksOf(const ProgramRecord& program)
{
    std::vector<DocLink> links;
    links.reserve(program.DocLinkNames.size());
    for (std::size_t i = 0; i < program.DocLinkNames.size(); ++i)
        links.push_back({program.DocLinkNames[i], i < program.DocLinkUrls.size() ? program.DocLinkUrls[i] : ""});
    return links;
}

void StoreLinks(ProgramRecord& program, const std::vector<DocLink>& links)
{
    program.DocLinkNames.clear();
    program.DocLinkUrls.clear();
    for (const DocLink& link : links) {
        program.DocLinkNames.push_back(link.Name);
        program.DocLinkUrls.push_back(link.Url);
    }
}

int AddLink(std::vector<DocLink>& links, DocLink link)
{
    if (links.size() >= static_cast<std::size_t>(MaxDocLinks))
        return -1;
    links.push_back(std::move(link));
    return static_cast<int>(links.size()) - 1;
}

int MoveLinkUp(std::vector<DocLink>& links, int row)
{
    return Exchange(links, row, row - 1);
}

int MoveLinkDown(std::vector<DocLink>& links, int row)
{
    return Exchange(links, row, row + 1);
}

void SortLinks(std::vector<DocLink>& links)
{
    std::stable_sort(links.begin(), links.end(),
        [](const DocLink& a, const DocLink& b) { return CompareText(a.Name, b.Name) < 0; });
}

LinkDelete DeleteLink(std::vector<DocLink>& links, int row, Prompts& prompts)
{
    if (!ValidRow(links, row))
        return {false, row};
    const std::string path = links[static_cast<std::size_t>(row)].Url;
    if (!path.empty()) {
        const MessageAnswer answer =
            prompts.ShowMessageBox({"Confirm", "Also delete associated file (" + FileNamePart(path) + ")?",
                MessageIcon::Question, MessageButtons::YesNoCancel, false, true});
        if (answer == MessageAnswer::Cancel)
            return {false, row};
        if (answer == MessageAnswer::Yes) {
            if (!FileExists(path))
                prompts.ShowMessage("Cannot find file " + path);
            else if (!DeleteFileAt(path))
                prompts.ShowMessage("Cannot delete file " + path);
        }
    }
    const int rowCount = static_cast<int>(links.size());
    links.erase(links.begin() + row);
    return {true, RowAfterDelete(row, rowCount)};
}

LinkButtons UpdateLinkButtons(int rowCount, int selectedRow)
{
    const bool selected = selectedRow >= 0 && selectedRow < rowCount;
    LinkButtons buttons;
    buttons.New = rowCount < MaxDocLinks;
    buttons.Edit = selected;
    buttons.Delete = selected;
    buttons.Up = selected && selectedRow > 0;
    buttons.Down = selected && selectedRow < rowCount - 1;
    buttons.Sort = rowCount >= 2;
    return buttons;
}

bool LinkOkAccepted(Prompts& prompts, const std::string& name, const std::string& file)
{
    if (RemoveChar(' ', name).empty()) {
        prompts.ShowMessage("Please enter a link name");
        return false;
    }
    if (RemoveChar(' ', file).empty()) {
        prompts.ShowMessage("Please enter a file name");
        return false;
    }
    return true;
}

FileOpenRequest LinkFileRequest(const std::string& currentFile, const Catalogue& catalogue)
{
    if (!currentFile.empty())
        return {kAllFilesFilter, FolderPart(currentFile), FileNamePart(currentFile), true};
    const std::string& start = catalogue.LastDocDir.empty() ? catalogue.LastProgramDir : catalogue.LastDocDir;
    return {kAllFilesFilter, start, "", true};
}

std::optional<std::string> BrowseLinkFile(Prompts& prompts, Catalogue& catalogue, const std::string& currentFile)
{
    std::optional<std::string> chosen = prompts.ChooseFile(LinkFileRequest(currentFile, catalogue));
    if (chosen)
        catalogue.LastDocDir = IncludeBackslash(FolderPart(*chosen));
    return chosen;
}

} // namespace vorbix
