// Feeds arbitrary bytes as Data/programs.xml. Whatever the loader makes of them:
// - loading never changes the file it read;
// - the loaded catalogue, saved and loaded again, is the same catalogue (its programs in
//   the writer's order), and that second load of our own file reports nothing;
// - saving the second load gives the first save's bytes again.

#include "FuzzSupport.h"

#include "catalogue/Main_LoadSaveUnit.h"
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

    const std::string saved = ProgramsFileBytes(first);  // trims blank trailing comment lines
    Check(WriteFileAtomic(path, saved).Ok());
    Catalogue second = CatalogueInFolder();
    SilentPrompts quiet;
    Check(LoadProgramsFile(second, quiet).Ok());
    Check(quiet.shown == 0);
    Check(second.ProgramList == InWriterOrder(first.ProgramList));
    Check(ProgramsFileBytes(second) == saved);
    return 0;
}
