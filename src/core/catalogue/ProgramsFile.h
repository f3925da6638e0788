#pragma once
// The programs file ("Data/programs.xml"): every program, grouped by publisher.

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFiles.h"
#include "host/Result.h"
#include "platform/FileSystem.h"

#include <string>

namespace vorbix {

class Prompts;
struct XMLStructure;

// The nesting the writer produces (with the few hand-edited forms that read the same),
// which a load checks.
const XMLStructure& ProgramsFileStructure();

// Loading replaces ProgramList; a missing file leaves it empty. Missing elements are
// reported through prompts (one message each) and loading goes on. A file that exists but
// cannot be read is "Cannot open file " + path. A damaged file is read as far as it goes
// and reported; copies is the writer of its kept copy.
Status LoadProgramsFile(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress = {},
    LoadAccess access = LoadAccess::ReadOnly, FileWriter& copies = SystemFileWriter());

// The bytes of the programs file for the catalogue as it stands; trims trailing blank
// comment lines of every program in memory.
std::string ProgramsFileBytes(Catalogue& catalogue);

// Writes the programs file (through a temporary file and a rename). Refused while the
// file is owed a copy (SaveCatalogue keeps such copies first).
Status SaveProgramsFile(Catalogue& catalogue, FileWriter& writer = SystemFileWriter());

} // namespace vorbix
