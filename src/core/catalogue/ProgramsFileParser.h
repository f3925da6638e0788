#pragma once
// A one-pass reader for programs files laid out as the writer lays them out, the form
// nearly every programs file has. It reads such a file to the same records as the reader
// by tag search (TXMLLoadObject) and the loader's searches, without the index, the
// searches or the check of the structure; any file outside that form it refuses, and the
// loader then reads the file by tag search, which also reports damage.

#include "catalogue/Records.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <vector>

namespace vorbix {

// Reads the programs file's bytes (as they are on disk) into programs, in file order. The
// form taken: white space and control characters between tags; a prolog of "<?...>" and
// "<!...>" items; one <programs> holding <vorbix-version> leaves and <publisher>s; each
// publisher's <publisher-name> first, then its <program>s; in a program, each of the five
// leaves the loader needs exactly once, <picture-url> and <boxcover-url> leaves, and the
// items of the three lists in their containers or directly; in an <emuwarning> or a
// <doclink> each of its two leaves exactly once; nothing after </programs>. A value is the
// text between its two tags, holding no '<'; a value that spans lines loses the white
// space at the line breaks, as the tag search reader trims every line. Returns false for
// anything else, with programs in an unspecified state.
bool ParseWrittenProgramsFile(const char* data, std::size_t size, std::vector<ProgramRecord>& programs);

// The same for a file read in pieces from its start, holding only a window of it at a time
// (windowBytes to begin with, larger for a program that does not fit in it). kUnreadable
// when the file cannot be read to its end, kRefused for a file outside the form.
enum class ParseOutcome { kRead, kRefused, kUnreadable };
constexpr std::size_t kParseWindowBytes = std::size_t{1} << 20;
ParseOutcome ParseWrittenProgramsFile(FileStream& file, std::vector<ProgramRecord>& programs,
    std::size_t windowBytes = kParseWindowBytes);

} // namespace vorbix
