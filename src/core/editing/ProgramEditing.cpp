#include "editing/ProgramEditing.h"

#include "catalogue/Utilities.h"
#include "editing/ListRows.h"
#include "platform/Collation.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace vorbix {

namespace {

const char* const kImagesFilter = "Disk/rom images|*.SSD; *.DSD; *.IMG; *.BBC; *.ADF; *.UEF; *.ZIP;*.ROM";

CatalogueChange ProgramsChanged(Catalogue& catalogue)
{
    catalogue.ProgramsChanged = true;
    CatalogueChange change;
    change.Programs = true;
    return change;
}

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (c >= 0xF0 && c <= 0xF4)
            length = 4;
        else if (c >= 0xE0)
            length = c <= 0xEF ? 3 : 0;
        else if (c >= 0xC2)
            length = 2;
        else if (c >= 0x80)
            length = 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// Splits a line into pieces of at most MaxCommentLineLength characters. A text that is
// valid UTF-8 counts characters and is never cut inside one; any other text is one byte
// per character.
void AppendCommentPieces(StringList& comments, const std::string& line)
{
    const bool utf8 = IsValidUtf8(line);
    std::size_t start = 0;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool startsCharacter = !utf8 || (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
        if (!startsCharacter)
            continue;
        if (characters == MaxCommentLineLength) {
            comments.push_back(line.substr(start, i - start));
            start = i;
            characters = 0;
        }
        ++characters;
    }
    comments.push_back(line.substr(start));
}

} // namespace

std::string ProposedProgramName(const std::string& path)
{
    return SplitCamelCase(FileNameNoExt(path));
}

std::string ProposedPublisher(const std::string& path, const NameList& publishers)
{
    return FindPublisher(FolderName(path), publishers);
}

ProgramRecord NewProgramRecord(const std::string& path, const NameList& publishers)
{
    ProgramRecord record;
    if (path.empty())
        return record;
    record.ProgramName = ProposedProgramName(path);
    record.FileUrl = path;
    record.PublisherName = ProposedPublisher(path, publishers);
    return record;
}

CatalogueChange AddProgram(Catalogue& catalogue, ProgramRecord record)
{
    catalogue.ProgramList.push_back(std::move(record));
    CatalogueChange change = ProgramsChanged(catalogue);
    change.RebuildProgramList = true;
    change.RevealPIdx = static_cast<int>(catalogue.ProgramList.size()) - 1;
    return change;
}

CatalogueChange ReplaceProgram(Catalogue& catalogue, int pidx, ProgramRecord record)
{
    if (!ValidIndex(catalogue.ProgramList, pidx))
        return {};
    ProgramRecord& target = catalogue.ProgramList[static_cast<std::size_t>(pidx)];
    const bool rowTextsChanged =
        record.ProgramName != target.ProgramName || record.PublisherName != target.PublisherName;
    target = std::move(record);
    CatalogueChange change = ProgramsChanged(catalogue);
    if (rowTextsChanged) {
        change.RebuildProgramList = true;
        change.RevealPIdx = pidx;
    }
    return change;
}

CatalogueChange DeleteProgram(Catalogue& catalogue, Prompts& prompts, int pidx, int selectedRow, int rowCount)
{
    if (!ValidIndex(catalogue.ProgramList, pidx))
        return {};
    if (!prompts.Confirm("Delete " + catalogue.ProgramList[static_cast<std::size_t>(pidx)].ProgramName + "?"))
        return {};
    catalogue.ProgramList.erase(catalogue.ProgramList.begin() + pidx);
    CatalogueChange change = ProgramsChanged(catalogue);
    change.RebuildProgramList = true;
    change.RevealRow = RowAfterDelete(selectedRow, rowCount);
    return change;
}

FileOpenRequest ProgramImageRequest(const std::string& currentFile, const std::string& lastProgramDir)
{
    if (currentFile.empty())
        return {kImagesFilter, lastProgramDir, "", true};
    return {kImagesFilter, FolderPart(currentFile), FileNamePart(currentFile), true};
}

bool BrowseProgramImage(Prompts& prompts, Catalogue& catalogue, ProgramRecord& working)
{
    const std::optional<std::string> chosen =
        prompts.ChooseFile(ProgramImageRequest(working.FileUrl, catalogue.LastProgramDir));
    if (!chosen)
        return false;
    working.FileUrl = *chosen;
    if (working.ProgramName.empty())
        working.ProgramName = ProposedProgramName(*chosen);
    if (working.PublisherName.empty())
        working.PublisherName = ProposedPublisher(*chosen, catalogue.Publishers);
    catalogue.LastProgramDir = IncludeBackslash(FolderPart(*chosen));
    return true;
}

std::string CheckCategoryText(const NameList& items, const std::string& text, const std::string& loaded)
{
    return text == loaded || IsEntryIgnoringCase(items.Items(), text) ? text : std::string();
}

std::string GetWarning(const ProgramRecord& working, const std::string& emuName)
{
    const StringList& emus = working.EmuWarningEmus;
    const StringList& texts = working.EmuWarningTexts;
    for (std::size_t i = std::min(emus.size(), texts.size()); i-- > 0;)
        if (emus[i] == emuName)
            return texts[i];
    return {};
}

void SetWarning(ProgramRecord& working, const std::string& emuName, const std::string& text)
{
    StringList& emus = working.EmuWarningEmus;
    StringList& texts = working.EmuWarningTexts;
    texts.resize(emus.size()); // keep the pair aligned, also for a damaged record
    const bool hasText = !RemoveChar(' ', text).empty();
    bool matched = false;
    std::size_t i = 0;
    while (i < emus.size()) {
        if (emus[i] != emuName) {
            ++i;
            continue;
        }
        matched = true;
        if (hasText) {
            texts[i] = text;
            ++i;
        } else {
            emus.erase(emus.begin() + static_cast<std::ptrdiff_t>(i));
            texts.erase(texts.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    if (!matched && hasText) {
        emus.push_back(emuName);
        texts.push_back(text);
    }
}

WarningShown FirstWarningShown(const std::vector<EmuRecord>& emuList, const ProgramRecord& working)
{
    for (const std::string& name : SortedEmulatorNames(emuList)) {
        std::string text = GetWarning(working, name);
        if (!text.empty())
            return {name, std::move(text)};
    }
    return {};
}

std::string WarningSelectorOnLeave(const StringList& entries, const std::string& text, const std::string& remembered)
{
    return IsEntryIgnoringCase(entries, text) ? text : remembered;
}

StringList StoredComments(const StringList& displayedLines)
{
    std::size_t count = displayedLines.size();
    if (count > 0 && displayedLines[count - 1].empty())
        --count;
    StringList comments;
    comments.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        AppendCommentPieces(comments, displayedLines[i]);
    return comments;
}

} // namespace vorbix
