// Feeds arbitrary bytes as the four legacy files and imports them. Input: the contents of
// Programs.ini, Options.ini, Emus.ini and Filters.ini in this order, separated by NUL
// bytes; a file whose part is missing (fewer separators) does not exist. Checks:
// - an import either succeeds or fails with a message, and never changes its file;
// - what was imported survives the move to the XML files: saved as Data/programs.xml and
//   Data/options.xml and loaded again, it is the same catalogue, and that load reports
//   nothing.

#include "FuzzSupport.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "platform/FileSystem.h"

#include <cstdint>

using namespace vorbix;
using namespace vorbix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const char* const kNames[] = {"Programs.ini", "Options.ini", "Emus.ini", "Filters.ini"};
    const std::string input(reinterpret_cast<const char*>(data), size);
    FreshAppDir();
    Catalogue imported = CatalogueInFolder();

    std::string parts[4];
    bool present[4] = {};
    std::size_t from = 0;
    for (int i = 0; i < 4 && from <= input.size(); ++i) {
        const std::size_t end = i == 3 ? input.size() : std::min(input.find('\0', from), input.size());
        parts[i] = input.substr(from, end - from);
        present[i] = true;
        Check(WriteFileAtomic(imported.AppFile(kNames[i]), parts[i]).Ok());
        from = end + 1;
    }

    bool allImported = true;
    for (Status (*import)(Catalogue&) :
        {ImportLegacyPrograms, ImportLegacyOptions, ImportLegacyEmus, ImportLegacyFilters}) {
        const Status status = import(imported);
        Check(status.Ok() || !status.Message().empty());
        allImported = allImported && status.Ok();
    }
    for (int i = 0; i < 4; ++i)
        Check(present[i] ? ReadFileBytes(imported.AppFile(kNames[i])).Value() == parts[i]
                         : !PathExists(imported.AppFile(kNames[i])));
    if (!allImported)
        return 0; // the start-up ends with the message; nothing is saved

    Check(WriteFileAtomic(imported.AppFile(kProgramsFile), ProgramsFileBytes(imported)).Ok());
    Check(WriteFileAtomic(imported.AppFile(kOptionsFile), OptionsFileBytes(imported)).Ok());
    Catalogue reloaded = CatalogueInFolder();
    SilentPrompts quiet;
    Check(LoadProgramsFile(reloaded, quiet).Ok());
    Check(LoadOptionsFile(reloaded, quiet).Ok());
    Check(quiet.shown == 0);
    Check(reloaded.ProgramList == InWriterOrder(imported.ProgramList));
    Check(SameOptions(reloaded, imported));
    return 0;
}
