#pragma once
// Reading and writing the whole catalogue: the programs file, the options file, the
// one-time import of the legacy INI files, and the start-up load and shut-down save.

#include "catalogue/Catalogue.h"
#include "host/Result.h"
#include "platform/FileSystem.h"

#include <functional>
#include <string>
#include <vector>

namespace vorbix {

class Prompts;
struct XMLStructure;

// Receives the splash's status line while programs are read ("Loading programs...",
// then "Loading programs: N" after each program).
using LoadProgress = std::function<void(const std::string& statusLine)>;

inline constexpr const char* kProgramsFile = "Data/programs.xml";
inline constexpr const char* kOptionsFile = "Data/options.xml";
inline constexpr const char* kVorbixVersion = "2.3";
inline constexpr const char* kLegacyProgramsFile = "Programs.ini";
inline constexpr const char* kLegacyOptionsFile = "Options.ini";
inline constexpr const char* kLegacyEmusFile = "Emus.ini";
inline constexpr const char* kLegacyFiltersFile = "Filters.ini";

// What a load may write. A catalogue file that fails the check of its structure is
// damaged: what can be read is loaded, the user is told, and the file is owed a copy beside
// it (KeepCopyBeside, tag "damaged") before anything may replace it; so is a programs file
// that a legacy import is going to replace (tag "before-import").
enum class LoadAccess {
    // Writes nothing (the read-only commands of the terminal): owed copies stay in
    // Catalogue::PendingCopies, for the first save that would replace such a file.
    ReadOnly,
    // For a caller that may save (the window, a command that saves): owed copies are kept
    // at once, and the message names them.
    KeepCopies,
};

// The nesting the writers below produce (with the few hand-edited forms that read the
// same), which a load checks.
const XMLStructure& ProgramsFileStructure();
const XMLStructure& OptionsFileStructure();

// The programs file. Loading replaces ProgramList; a missing file leaves it empty.
// Missing elements are reported through prompts (one message each) and loading goes on.
// A file that exists but cannot be read is "Cannot open file " + path. A damaged file is
// read as far as it goes and reported; copies is the writer of its kept copy.
Status LoadProgramsFile(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress = {},
    LoadAccess access = LoadAccess::ReadOnly, FileWriter& copies = SystemFileWriter());
// The bytes of the programs file for the catalogue as it stands; trims trailing blank
// comment lines of every program in memory.
std::string ProgramsFileBytes(Catalogue& catalogue);
// Writes the programs file (through a temporary file and a rename). Refused while the
// file is owed a copy (SaveCatalogue keeps such copies first).
Status SaveProgramsFile(Catalogue& catalogue, FileWriter& writer = SystemFileWriter());

// The options file. Loading replaces EmuList and FilterList and resets the remembered
// folders, selections and options before reading; a damaged file as for the programs file.
Status LoadOptionsFile(Catalogue& catalogue, Prompts& prompts, LoadAccess access = LoadAccess::ReadOnly,
    FileWriter& copies = SystemFileWriter());
// lastFilter and lastEmu are the texts of the main window's two selectors.
std::string OptionsFileBytes(const Catalogue& catalogue, const std::string& lastFilter, const std::string& lastEmu);
// Refused while the file is owed a copy, as SaveProgramsFile.
Status SaveOptionsFile(const Catalogue& catalogue, const std::string& lastFilter, const std::string& lastEmu,
    FileWriter& writer = SystemFileWriter());

// The legacy files (Programs.ini, Options.ini, Emus.ini, Filters.ini in AppDir).
// A count that is not a decimal integer is "'" + text + "' is not a valid integer value".
Status ImportLegacyPrograms(Catalogue& catalogue);
Status ImportLegacyOptions(Catalogue& catalogue);
Status ImportLegacyEmus(Catalogue& catalogue);
Status ImportLegacyFilters(Catalogue& catalogue);

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
Result<SavedFiles> SaveCatalogue(Catalogue& catalogue, bool atExit, const std::string& lastFilter,
    const std::string& lastEmu, FileWriter& writer = SystemFileWriter(), Prompts* prompts = nullptr);

// Whether SaveCatalogue would ask now about a file changed outside Vorbix.
bool SaveWouldAsk(const Catalogue& catalogue, bool atExit);

} // namespace vorbix
