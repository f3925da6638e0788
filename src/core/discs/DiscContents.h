#pragma once
// What is on a disc or tape image, as the lines of text `vorbix-cli disc` prints and the
// details panel's Disc tab shows: a DFS disc's catalogue (both sides of a .dsd, the second
// catalogue of a Watford DDFS disc), an ADFS disc's map and root directory, a UEF tape's
// files. An image that is none of these, or whose catalogue does not make sense, is one
// line saying so.

#include "discs/ImageNames.h"
#include "host/Result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

struct ImageDescription {
    std::vector<std::string> Lines;
    bool Understood = false; // a catalogue or tape was read; else Lines is the one line why not
};

// The most read of a disc image: both catalogues of both sides of a .dsd, and an ADFS
// disc's map and root directory.
inline constexpr std::size_t kDiscHeadBytes = 4096;

// The image in head, its first bytes (at least what the kind needs, or the whole file when
// shorter; a tape's whole file), read as kind; fileSize is the whole file's size, against
// which the files of the catalogue are checked: an image cut short before a file's last
// byte does not make sense. Other images are recognised by their first bytes (a UEF or
// gzip header, an ADFS root directory), as is an ADFS disc named like a DFS one.
ImageDescription DescribeImage(std::string_view head, std::size_t fileSize, ImageKind kind);

// The image file at path, of which at most kDiscHeadBytes of a disc and kUefMaxBytes of a
// tape are read, followed by the line of what %BOOT% types for it. A file that cannot be
// read (missing, a folder, a FIFO or device) is a failure with the reason.
Result<ImageDescription> DescribeImageFile(const std::string& path);

} // namespace vorbix
