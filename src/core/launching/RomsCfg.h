#pragma once
// An emulator's ROM configuration file, ROMS.CFG in the emulator's folder: a ROM image
// is entered into a sideways slot before a run and taken out again after it.
//
// Entry lines are numbered from 0; blank lines and lines whose first non-blank character
// is "#" (the model headings newer emulator versions write) are not entries and keep their
// place. The Model B section is the first block of 17 entries; the Master 128 section is
// the second block, or the fourth block when the file holds five models (68 entries or more).

#include "platform/FileSystem.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vorbix {

class Prompts;

// Moves the slot lines from the target down by one (the old last slot line is lost) and
// writes the name into the target line. Both helpers change nothing when the last slot
// line is not one of the lines or the target lies after it.
void InsertRomLine(std::vector<std::string>& lines, const std::string& name, std::size_t target, std::size_t lastSlot);
// Moves the slot lines below the target up by one and writes "EMPTY" into the last slot line.
void RemoveRomLine(std::vector<std::string>& lines, std::size_t target, std::size_t lastSlot);

enum class RomsCfgEdit { Done, TooFewLines, InvalidName };

// Inserts or removes the ROM name in the file's lines (the whole file, comments included).
// modelB chooses the Model B section, else the Master 128 section (whose names get the
// "M128\" prefix here). The lines are left untouched unless the result is Done.
RomsCfgEdit EditRomsCfgLines(std::vector<std::string>& lines, bool insert, bool isDfs, const std::string& romName,
    bool modelB);

// The ROMS.CFG file beside the emulator's executable. On a case-sensitive file system a
// file whose name differs only in case ("roms.cfg") is the same file, as on Windows.
std::string RomsCfgPath(const std::string& emuFile);

// What would keep UpdateRomsCfg from editing the emulator's ROMS.CFG for the model (modelB,
// else the Master 128), found without changing the file: the message it would show (the
// file missing or unreadable, no ROM configuration, too few lines), or "" when none.
std::string RomsCfgProblem(const std::string& emuFile, bool modelB);

// Enters (insert) or removes the ROM name in the emulator's ROMS.CFG when ModelB or
// Master128 is set; the file is rewritten through a temporary file and a rename, with the
// line end it had (CR LF for a file without one). A file over 1 MB or holding control bytes
// other than tab and line ends is "PATH does not look like a ROM configuration file". Problems
// are shown in the error box and leave the file as it was; false when one was shown.
bool UpdateRomsCfg(bool insert, bool isDfs, const std::string& emuFile, const std::string& romName, bool modelB,
    bool master128, Prompts& prompts, FileWriter& writer = SystemFileWriter());

} // namespace vorbix
