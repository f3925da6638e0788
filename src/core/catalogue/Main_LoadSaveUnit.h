#pragma once
// Reading and writing the whole catalogue: the start-up load (the two catalogue files, or
// once the legacy INI files) and the save, which keeps what a file is owed and never
// writes over a file changed outside Vorbix unasked. Each file has a unit of its own.

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFiles.h"
#include "catalogue/LegacyImport.h"
#include "catalogue/OptionsFile.h"
#include "catalogue/ProgramsFile.h"
#include "host/Result.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace vorbix {

class Prompts;

enum class CatalogueSource { None, Xml, Legacy };

// Chooses the source (the XML files, or once the legacy files when there is an
// Options.ini but no options file) and loads everything. A legacy import sets
// ProgramsChanged; when a programs file is there, the import is reported with where that
// file is kept. On a failure the catalogue is incomplete; the window ends the run with the
// message (the application-wide error handler), the terminal prints it.
Result<CatalogueSource> LoadCatalogue(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress = {},
    LoadAccess access = LoadAccess::ReadOnly, FileWriter& copies = SystemFileWriter());

// Which files a save wrote.
struct SavedFiles {
    bool ProgramsFile = false;
    bool OptionsFile = false;
    // The user chose not to save over a file changed outside Vorbix: nothing was written.
    bool Declined = false;
    // For the user: the copies that the save kept first (owed since the load).
    std::vector<std::string> Notices;
};

// Writes the programs file when programs changed or the save is not at exit, then the
// options file. A file that something else has written since the catalogue was loaded for
// saving (or last saved) is not written over unasked: prompts asks for each such file,
// naming where its version on disk will be kept; a No to any (or no prompts) writes nothing
// and returns Declined. Creates a missing "Data" folder. A file owed a copy is copied aside first;
// when that copy cannot be made, that file is not written and the save fails with the
// reason. A failed programs file stops the save before the options file. ProgramsChanged
// is left as it was (the "&Save" command clears it after a successful save).
Result<SavedFiles> SaveCatalogue(Catalogue& catalogue, bool atExit, FileWriter& writer = SystemFileWriter(),
    Prompts* prompts = nullptr);

// Whether SaveCatalogue would ask now about a file changed outside Vorbix.
bool SaveWouldAsk(const Catalogue& catalogue, bool atExit);

} // namespace vorbix
