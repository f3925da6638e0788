#pragma once
// The files on a UEF tape image: the tape's data chunks (&0100, and &0104 with 8-bit bytes)
// hold the blocks of the Acorn cassette format, each with a header giving the file's name,
// load and execution addresses, the block's number and length and whether it is the last.
// A gzip-compressed tape is unpacked first, into a bounded amount of memory.

#include "host/Result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

// The most a tape is unpacked to, and the largest tape file read. A tape holds at most a
// few hundred kilobytes (a whole C90 cassette at 1200 baud is about 650 KB of bytes), so
// 4 MB leaves room for any real tape while a gzip bomb stops here.
inline constexpr std::size_t kUefMaxBytes = std::size_t{4} << 20;
// The most files listed: a real tape holds tens; a made-up one of tiny blocks could
// otherwise make the listing many times the size of the tape.
inline constexpr std::size_t kUefMaxFiles = 1000;

struct TapeFile {
    std::string Name; // up to 10 characters
    unsigned Load = 0;
    unsigned Exec = 0;
    unsigned Length = 0; // the blocks' lengths summed
    unsigned Blocks = 0;
    bool Locked = false;
    bool BadHeader = false; // a block's header checksum is wrong

    bool operator==(const TapeFile&) const = default;
};

struct TapeContents {
    unsigned VersionMajor = 0;
    unsigned VersionMinor = 0;
    bool Compressed = false;
    std::vector<TapeFile> Files;
    // Where the tape ends too early or is damaged, one line saying so; the files read
    // before it are listed.
    std::string Problem;

    bool operator==(const TapeContents&) const = default;
};

// The tape in bytes, plain or gzip-compressed. A failure says in one line why it is no
// tape: too short, no "UEF File!" at its start, or more than kUefMaxBytes unpacked.
Result<TapeContents> ReadUefTape(std::string_view bytes);

} // namespace vorbix
