// Feeds arbitrary bytes as Data/options.xml. Whatever the loader makes of them:
// - loading never changes the file it read;
// - the loaded emulators, filters, categories, remembered folders and selections and
//   options, saved and loaded again, are the same, and that second load reports nothing;
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
    const std::string path = first.AppFile(kOptionsFile);
    Check(WriteFileAtomic(path, bytes).Ok());

    SilentPrompts prompts;
    const bool loaded = LoadOptionsFile(first, prompts).Ok();
    Check(ReadFileBytes(path).Value() == bytes);
    if (!loaded)
        return 0;

    const std::string saved = OptionsFileBytes(first);
    Check(WriteFileAtomic(path, saved).Ok());
    Catalogue second = CatalogueInFolder();
    SilentPrompts quiet;
    Check(LoadOptionsFile(second, quiet).Ok());
    Check(quiet.shown == 0);
    Check(SameOptions(second, first));
    Check(OptionsFileBytes(second) == saved);
    return 0;
}
