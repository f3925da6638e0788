// Feeds arbitrary bytes to the DFS catalogue reader as a disc image. It reads only the
// catalogue's two sectors, never outside the bytes, and gives a boot option of 0 to 3 or
// none; a short input has none.

#include "FuzzSupport.h"

#include "discs/DfsCatalogue.h"

#include <cstdint>
#include <string_view>

using namespace vorbix;
using namespace vorbix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const std::optional<int> option = DfsBootOption(image);
    if (size < kDfsCatalogueBytes)
        Check(!option.has_value());
    if (option) {
        Check(*option >= 0 && *option <= 3);
        Check(!BootCommand(*option).empty() || *option == 0);
    }
    return 0;
}
