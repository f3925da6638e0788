#include "launching/RomsCfg.h"

#include "catalogue/Utilities.h"
#include "host/Prompts.h"
#include "platform/Collation.h"
#include "platform/FileSystem.h"

#include <filesystem>

namespace vorbix {

namespace {

constexpr const char* kRomsCfgName = "ROMS.CFG";
constexpr const char* kMasterPrefix = "M128\\";
constexpr std::size_t kBlockSize = 17; // the OS ROM line, then 16 banks
constexpr std::size_t kFiveModelEntries = 4 * kBlockSize; // more than two blocks: the five-model layout

struct Section {
    std::size_t firstChecked;
    std::size_t firstSlot;
    std::size_t lastSlot;
};

// Master 128 in the two-model layout is the second block; with five models it is the fourth.
Section ChooseSection(bool modelB, std::size_t entryCount)
{
    if (modelB)
        return {1, 1, 16};
    const std::size_t os = entryCount >= kFiveModelEntries ? 3 * kBlockSize : kBlockSize;
    return {os + 1, os + 8, os + 16};
}

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t';
}

// A blank line or a "#" comment is not an entry.
bool IsEntryLine(const std::string& line)
{
    for (char c : line)
        if (!IsBlankChar(c))
            return c != '#';
    return false;
}

std::string Normalise(const std::string& line)
{
    return RemoveChar(' ', AsciiUpperText(line));
}

bool IsFreeSlot(const std::string& line)
{
    const std::string value = Normalise(line);
    return value == "EMPTY" || value == "RAM";
}

// A name that would not read back as the entry it replaces (a line break, a blank
// line, a "#" comment) would shift every later entry, so it is refused.
bool CanBeEntry(const std::string& name)
{
    return IsEntryLine(name) && name.find_first_of("\r\n") == std::string::npos;
}

void InsertEntry(std::vector<std::string>& entries, const Section& s, const std::string& name, bool isDfs)
{
    for (std::size_t i = s.firstChecked; i <= s.lastSlot; ++i)
        if (Normalise(entries[i]) == Normalise(name))
            return;
    std::size_t target = s.lastSlot;
    if (isDfs) {
        target = s.firstSlot;
    } else {
        for (std::size_t i = s.firstSlot; i <= s.lastSlot; ++i) {
            if (IsFreeSlot(entries[i])) {
                target = i;
                break;
            }
        }
    }
    InsertRomLine(entries, name, target, s.lastSlot);
}

void RemoveEntry(std::vector<std::string>& entries, const Section& s, const std::string& name)
{
    for (std::size_t i = s.firstSlot; i <= s.lastSlot; ++i) {
        if (Normalise(entries[i]) == Normalise(name)) {
            RemoveRomLine(entries, i, s.lastSlot);
            return;
        }
    }
}

// A ROM configuration is a short text of file names; a file much larger than that, or
// holding bytes no text holds, is something else that only happens to have the name.
constexpr std::size_t kMaxRomsCfgBytes = 1 << 20;

bool LooksLikeRomsCfg(const std::string& bytes)
{
    if (bytes.size() > kMaxRomsCfgBytes)
        return false;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        // Tab, the line ends, and the end-of-file mark that old editors leave at the end.
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != 0x1A)
            return false;
    }
    return true;
}

// The line end the file uses (its first one), so that an emulator that writes LF alone
// does not read back names ending in a carriage return; CR LF for a file without any.
std::string LineEndOf(const std::string& bytes)
{
    const std::size_t end = bytes.find_first_of("\r\n");
    if (end == std::string::npos || bytes.compare(end, 2, "\r\n") == 0)
        return "\r\n";
    return std::string(1, bytes[end]);
}

std::string FindCaseInsensitive(const std::string& folder, const std::string& name)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (SameAsciiIgnoreCase(candidate, name) && FileExists(folder + candidate))
            return folder + candidate;
    }
    return {};
}

} // namespace

// Both helpers leave the lines alone when the target or the last slot line lies outside them.
void InsertRomLine(std::vector<std::string>& lines, const std::string& name, std::size_t target, std::size_t lastSlot)
{
    if (lastSlot >= lines.size() || target > lastSlot)
        return;
    for (std::size_t i = lastSlot; i > target; --i)
        lines[i] = lines[i - 1];
    lines[target] = name;
}

void RemoveRomLine(std::vector<std::string>& lines, std::size_t target, std::size_t lastSlot)
{
    if (lastSlot >= lines.size() || target > lastSlot)
        return;
    for (std::size_t i = target; i < lastSlot; ++i)
        lines[i] = lines[i + 1];
    lines[lastSlot] = "EMPTY";
}

RomsCfgEdit EditRomsCfgLines(std::vector<std::string>& lines, bool insert, bool isDfs, const std::string& romName,
    bool modelB)
{
    const std::string name = AsciiUpperText(modelB ? romName : kMasterPrefix + romName);
    if (insert && !CanBeEntry(name))
        return RomsCfgEdit::InvalidName;

    std::vector<std::size_t> positions; // where each entry line stands in the file
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsEntryLine(lines[i])) {
            positions.push_back(i);
            entries.push_back(lines[i]);
        }
    }
    const Section section = ChooseSection(modelB, entries.size());
    if (entries.size() <= section.lastSlot)
        return RomsCfgEdit::TooFewLines;

    if (insert)
        InsertEntry(entries, section, name, isDfs);
    else
        RemoveEntry(entries, section, name);
    for (std::size_t k = section.firstSlot; k <= section.lastSlot; ++k)
        lines[positions[k]] = entries[k];
    return RomsCfgEdit::Done;
}

std::string RomsCfgPath(const std::string& emuFile)
{
    // A bare executable name lies in the current folder, not in the root folder.
    const std::string folderPart = FolderPart(emuFile);
    const std::string folder = folderPart.empty() ? folderPart : IncludeBackslash(folderPart);
    std::string exact = folder + kRomsCfgName;
    if (FileExists(exact))
        return exact;
    const std::string other = FindCaseInsensitive(folder, kRomsCfgName);
    return other.empty() ? exact : other;
}

namespace {

// Reads the ROM configuration at path into bytes and lines; the message UpdateRomsCfg shows
// when it cannot be edited, else "".
std::string ReadRomsCfg(const std::string& path, std::string& bytes, std::vector<std::string>& lines)
{
    if (!FileExists(path))
        return "Cannot find file " + path;
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) > kMaxRomsCfgBytes && !ec)
        return path + " does not look like a ROM configuration file";
    Result<std::string> read = ReadFileBytes(path);
    if (!read)
        return read.Message();
    bytes = std::move(read).Value();
    if (!LooksLikeRomsCfg(bytes))
        return path + " does not look like a ROM configuration file";
    lines = SplitLines(bytes);
    return {};
}

std::string TooFewLines(const std::string& path)
{
    return "Cannot process file " + path + ": too few lines";
}

} // namespace

std::string RomsCfgProblem(const std::string& emuFile, bool modelB)
{
    const std::string path = RomsCfgPath(emuFile);
    std::string bytes;
    std::vector<std::string> lines;
    if (std::string problem = ReadRomsCfg(path, bytes, lines); !problem.empty())
        return problem;
    // A removal of a name the file does not hold checks the section and changes nothing
    // that is kept.
    if (EditRomsCfgLines(lines, false, false, std::string(), modelB) == RomsCfgEdit::TooFewLines)
        return TooFewLines(path);
    return {};
}

bool UpdateRomsCfg(bool insert, bool isDfs, const std::string& emuFile, const std::string& romName, bool modelB,
    bool master128, Prompts& prompts, FileWriter& writer)
{
    if (!modelB && !master128)
        return true;
    const std::string path = RomsCfgPath(emuFile);
    std::string bytes;
    std::vector<std::string> lines;
    if (const std::string problem = ReadRomsCfg(path, bytes, lines); !problem.empty()) {
        prompts.ShowErrorBox(problem);
        return false;
    }
    switch (EditRomsCfgLines(lines, insert, isDfs, romName, modelB)) {
    case RomsCfgEdit::TooFewLines: prompts.ShowErrorBox(TooFewLines(path)); return false;
    case RomsCfgEdit::InvalidName:
        prompts.ShowErrorBox("Cannot process file " + path + ": invalid rom name " + romName);
        return false;
    case RomsCfgEdit::Done: break;
    }
    std::string text;
    const std::string lineEnd = LineEndOf(bytes);
    for (const std::string& line : lines)
        text += line + lineEnd;
    if (Status written = writer.WriteFile(path, text); !written) {
        prompts.ShowErrorBox(written.Message());
        return false;
    }
    return true;
}

} // namespace vorbix
