// Feeds arbitrary ROMS.CFG bytes and ROM names to UpdateRomsCfg. Input: one byte of
// flags (insert, DFS, Model B, Master 128), one byte giving the name's length, the name,
// then the file. Checks, independently of the editing code where it can:
// - a refused or untouched file keeps its bytes, and exactly one problem is shown;
// - a rewritten file is the edited lines with CR LF and reads back as those lines;
// - only the slot lines of the chosen section change; blank and comment lines and every
//   other entry line keep their text and place;
// - an inserted name is then listed in the section's checked lines;
// - inserting a new name into a free slot and removing it again restores the lines when
//   the section's last slot line read "EMPTY".

#include "FuzzSupport.h"

#include "launching/RomsCfg.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using vorbix::fuzz::Check;
using vorbix::fuzz::Folder;
using vorbix::fuzz::SilentPrompts;

bool IsEntry(const std::string& line)
{
    const auto first = line.find_first_not_of(" \t");
    return first != std::string::npos && line[first] != '#';
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string Normalised(const std::string& line)
{
    std::string value = Upper(line);
    value.erase(std::remove(value.begin(), value.end(), ' '), value.end());
    return value;
}

struct Layout {
    std::vector<std::size_t> entries; // file line of each entry line
    std::size_t firstChecked = 0, firstSlot = 0, lastSlot = 0;
    bool fits = false;
};

// The section as the layout rules give it: Model B the first block of 17 entries; the
// Master 128 the second block, or the fourth when there are 68 entries or more.
Layout SectionOf(const std::vector<std::string>& lines, bool modelB)
{
    Layout layout;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (IsEntry(lines[i]))
            layout.entries.push_back(i);
    const std::size_t os = modelB ? 0 : (layout.entries.size() >= 68 ? 51 : 17);
    layout.firstChecked = os + 1;
    layout.firstSlot = modelB ? 1 : os + 8;
    layout.lastSlot = os + 16;
    layout.fits = layout.entries.size() > layout.lastSlot;
    return layout;
}

bool Listed(const std::vector<std::string>& lines, const Layout& layout, const std::string& name)
{
    for (std::size_t k = layout.firstChecked; k <= layout.lastSlot; ++k)
        if (Normalised(lines[layout.entries[k]]) == Normalised(name))
            return true;
    return false;
}

// A file of text: no control bytes but tab, the line ends and the end-of-file mark.
bool LooksLikeText(const std::string& bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != 0x1A;
    });
}

// The file's first line end, CR LF for a file without one.
std::string LineEnd(const std::string& bytes)
{
    const auto end = bytes.find_first_of("\r\n");
    if (end == std::string::npos || bytes.compare(end, 2, "\r\n") == 0)
        return "\r\n";
    return std::string(1, bytes[end]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const unsigned flags = data[0];
    const std::size_t nameLength = std::min<std::size_t>(data[1], size - 2);
    const std::string name(reinterpret_cast<const char*>(data + 2), nameLength);
    const std::string bytes(reinterpret_cast<const char*>(data + 2 + nameLength), size - 2 - nameLength);
    const bool insert = flags & 1, isDfs = flags & 2, modelB = flags & 4, master = flags & 8;

    const std::string cfg = Folder() + "ROMS.CFG";
    Check(vorbix::WriteFileAtomic(cfg, bytes).Ok());
    SilentPrompts prompts;
    vorbix::UpdateRomsCfg(insert, isDfs, Folder() + "beebem", name, modelB, master, prompts);

    const std::string after = vorbix::ReadFileBytes(cfg).Value();
    const auto before = vorbix::SplitLines(bytes);
    const Layout layout = SectionOf(before, modelB);
    const std::string fullName = Upper(modelB ? name : "M128\\" + name);
    const bool nameUsable = IsEntry(fullName) && fullName.find_first_of("\r\n") == std::string::npos;
    const bool shouldEdit = (modelB || master) && LooksLikeText(bytes) && layout.fits && (!insert || nameUsable);
    if (!shouldEdit) {
        Check(after == bytes);
        Check((modelB || master) == (prompts.shown == 1));
        return 0;
    }
    Check(prompts.shown == 0);
    const auto lines = vorbix::SplitLines(after);
    std::string joined;
    for (const std::string& line : lines)
        joined += line + LineEnd(bytes);
    Check(after == joined);
    Check(lines.size() == before.size());

    // Only the section's slot lines may change.
    std::vector<bool> slot(before.size(), false);
    for (std::size_t k = layout.firstSlot; k <= layout.lastSlot; ++k)
        slot[layout.entries[k]] = true;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (!slot[i])
            Check(lines[i] == before[i]);
        else
            Check(IsEntry(lines[i]));
    }

    if (insert) {
        Check(Listed(lines, layout, fullName));
        // A new name in a free slot comes out again with the lines as they were.
        bool free = false;
        for (std::size_t k = layout.firstSlot; k <= layout.lastSlot; ++k)
            free = free || Normalised(before[layout.entries[k]]) == "EMPTY"
                || Normalised(before[layout.entries[k]]) == "RAM";
        if (!isDfs && free && !Listed(before, layout, fullName) && before[layout.entries[layout.lastSlot]] == "EMPTY") {
            auto roundTrip = lines;
            Check(vorbix::EditRomsCfgLines(roundTrip, false, false, name, modelB) == vorbix::RomsCfgEdit::Done);
            Check(roundTrip == before);
        }
    } else if (!Listed(before, layout, fullName)) {
        Check(lines == before); // removing a name that is not listed changes nothing
    }
    return 0;
}
