// Feeds arbitrary bytes to the checksum-list reader as a MAME software list or a Logiqx DAT
// file, to the TOSEC name reader, and as an image to the matching against a list of one
// DFS disc. None may read outside the bytes or loop; a list that is read gives entries
// that its own lookup finds again.

#include "FuzzSupport.h"

#include "collection/ChecksumLists.h"
#include "collection/ImageMatching.h"
#include "collection/TosecName.h"
#include "discs/DfsCatalogue.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace vorbix;
using namespace vorbix::fuzz;

namespace {

const ChecksumLists& OneDiscList()
{
    static const ChecksumLists lists = [] {
        ChecksumLists made;
        Status read = made.AddText("<softwarelist><software name=\"a\"><description>A</description>"
                                   "<part><dataarea><rom name=\"a.ssd\" size=\"2560\" crc=\"0badf00d\"/>"
                                   "</dataarea></part></software></softwarelist>",
            "one.xml");
        Check(read.Ok());
        return made;
    }();
    return lists;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ChecksumLists lists;
    if (lists.AddText(bytes, "fuzz.xml")) {
        for (std::size_t i = 0; i < lists.size(); ++i) {
            const auto found = lists.Find(lists[i].Size, lists[i].Crc);
            Check(std::find(found.begin(), found.end(), i) != found.end());
        }
    } else {
        Check(lists.empty());
    }
    if (const auto name = ParseTosecName(bytes))
        Check(!name->Title.empty() && name->Title.size() <= size + 4);
    const ChecksumLists& one = OneDiscList();
    if (const auto match = MatchInLists(one, one.Sizes(), bytes, true))
        Check(match->Entry == 0);
    if (const auto used = DfsUsedBytes(bytes))
        Check(*used >= kDfsCatalogueBytes && *used <= 1024 * kDfsSectorBytes);
    return 0;
}
