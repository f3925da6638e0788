// Feeds arbitrary bytes to the UEF tape reader, plain or gzip-compressed. It never reads
// outside the bytes, never unpacks more than its limit (a gzip bomb is refused), and lists
// at most kUefMaxFiles files with printable names of up to 10 characters.

#include "FuzzDiscs.h"

#include "discs/UefTape.h"

#include <cstdint>
#include <string_view>

using namespace vorbix;
using namespace vorbix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view tape(reinterpret_cast<const char*>(data), size);
    const Result<TapeContents> read = ReadUefTape(tape);
    if (read) {
        Check(read.Value().Files.size() <= kUefMaxFiles);
        for (const TapeFile& file : read.Value().Files) {
            CheckShown(file.Name, 10);
            Check(file.Blocks >= 1);
        }
    }
    CheckDescription(DescribeImage(tape, size, ImageKind::Tape));
    return 0;
}
