// Feeds arbitrary bytes as Data/programs.xml. Whatever the loader makes of them:
// - loading never changes the file it read;
// - the loaded catalogue, saved and loaded again, is the same catalogue (its programs in
//   the writer's order), and that second load of our own file reports nothing;
// - saving the second load gives the first save's bytes again;
// - a file the one-pass reader takes reads the same by tag search (a tag no reader looks
//   for, after the root, sends it there).

#include "FuzzSupport.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "catalogue/ProgramsFileParser.h"
#include "platform/FileSystem.h"

#include <cstdint>

using namespace vorbix;
using namespace vorbix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    FreshAppDir();
    Catalogue first = CatalogueInFolder();
    const std::string path = first.AppFile(kProgramsFile);
    Check(WriteFileAtomic(path, bytes).Ok());

    SilentPrompts prompts;
    const bool loaded = LoadProgramsFile(first, prompts).Ok();
    Check(ReadFileBytes(path).Value() == bytes);
    if (!loaded)
        return 0;

    std::vector<ProgramRecord> parsed;
    if (ParseWrittenProgramsFile(bytes.data(), bytes.size(), parsed)) {
        Check(parsed == first.ProgramList);
        FreshAppDir();
        Catalogue searched = CatalogueInFolder();
        Check(WriteFileAtomic(path, bytes + "\r\n<zz>").Ok());
        SilentPrompts searchPrompts;
        Check(LoadProgramsFile(searched, searchPrompts).Ok());
        Check(searched.ProgramList == parsed);
        Check(WriteFileAtomic(path, bytes).Ok());
    }

    const std::string saved = ProgramsFileBytes(first); // trims blank trailing comment lines
    Check(WriteFileAtomic(path, saved).Ok());
    Catalogue second = CatalogueInFolder();
    SilentPrompts quiet;
    Check(LoadProgramsFile(second, quiet).Ok());
    Check(quiet.shown == 0);
    Check(second.ProgramList == InWriterOrder(first.ProgramList));
    Check(ProgramsFileBytes(second) == saved);
    return 0;
}
