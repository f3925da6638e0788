#pragma once
// Reading and writing the whole catalogue: the programs file, the options file, the
// one-time import of the legacy INI files, and the start-up load and shut-down save.

#include "catalogue/Catalogue.h"
#include "host/Result.h"
#include "platform/FileSystem.h"

#include <functional>
#include <string>

namespace vorbix {

class Prompts;

// Receives the splash's status line while programs are read ("Loading programs...",
// then "Loading programs: N" after each program).
using LoadProgress = std::function<void(const std::string& statusLine)>;

inline constexpr const char* kProgramsFile = "Data/programs.xml";
inline constexpr const char* kOptionsFile = "Data/options.xml";
inline constexpr const char* kVorbixVersion = "2.3";

// The programs file. Loading replaces ProgramList; a missing file leaves it empty.
// Missing elements are reported through prompts (one message each) and loading goes on.
// A file that exists but cannot be read is "Cannot open file " + path.
Status LoadProgramsFile(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress = {});
// The bytes of the programs file for the catalogue as it stands; trims trailing blank
// comment lines of every program in memory.
std::string ProgramsFileBytes(Catalogue& catalogue);
// Writes the programs file (through a temporary file and a rename).
Status SaveProgramsFile(Catalogue& catalogue, FileWriter& writer = SystemFileWriter());

// The options file. Loading replaces EmuList and FilterList and resets the remembered
// folders, selections and options before reading.
Status LoadOptionsFile(Catalogue& catalogue, Prompts& prompts);
// lastFilter and lastEmu are the texts of the main window's two selectors.
std::string OptionsFileBytes(const Catalogue& catalogue, const std::string& lastFilter,
    const std::string& lastEmu);
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
// ProgramsChanged. On a failure the catalogue is incomplete; the window ends the run
// with the message (the application-wide error handler), the terminal prints it.
Result<CatalogueSource> LoadCatalogue(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress = {});

// Which files a save wrote.
struct SavedFiles {
    bool ProgramsFile = false;
    bool OptionsFile = false;
};

// Writes the programs file when programs changed or the save is not at exit, then the
// options file. Creates a missing "Data" folder. A failed programs file stops the save
// before the options file. ProgramsChanged is left as it was (the "&Save" command clears
// it after a successful save).
Result<SavedFiles> SaveCatalogue(Catalogue& catalogue, bool atExit, const std::string& lastFilter,
    const std::string& lastEmu, FileWriter& writer = SystemFileWriter());

} // namespace vorbix
