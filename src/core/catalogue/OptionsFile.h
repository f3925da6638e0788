#pragma once
// The options file ("Data/options.xml"): the emulators, the filters, the two category
// lists, the remembered folders and selections, and the options.

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFiles.h"
#include "host/Result.h"
#include "platform/FileSystem.h"

#include <string>

namespace vorbix {

class Prompts;
struct XMLStructure;

// The nesting the writer produces, which a load checks.
const XMLStructure& OptionsFileStructure();

// Loading replaces EmuList and FilterList and resets the remembered folders, selections
// and options before reading; a damaged file as for the programs file.
Status LoadOptionsFile(Catalogue& catalogue, Prompts& prompts, LoadAccess access = LoadAccess::ReadOnly,
    FileWriter& copies = SystemFileWriter());

// The bytes of the options file; the last filter and emulator are the catalogue's
// LastFilter and LastEmu, which the main window keeps up to date with its two selectors.
std::string OptionsFileBytes(const Catalogue& catalogue);

// One emulator's element as the options file holds it, from "<emulator>" to "</emulator>"
// with CR LF after every line, indented as if it stood first in the file's tree.
std::string EmulatorElementBytes(const EmuRecord& emu);

// Refused while the file is owed a copy, as SaveProgramsFile.
Status SaveOptionsFile(const Catalogue& catalogue, FileWriter& writer = SystemFileWriter());

} // namespace vorbix
