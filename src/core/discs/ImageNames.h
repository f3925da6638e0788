#pragma once
// What kind of image a file is by its name's extension (in any case).

#include <string>

namespace vorbix {

enum class ImageKind {
    DfsSingle, // .ssd, .img: one side of a DFS disc
    DfsDouble, // .dsd: both sides, interleaved track by track
    AdfsLinear, // .adf, .ads, .adm: an ADFS disc, sector after sector
    AdfsInterleaved, // .adl: both sides of an ADFS L disc, interleaved track by track
    Tape, // .uef, plain or gzip-compressed
    Other,
};

// The extension is what follows the last '.' of the file name (after the last '/' or '\').
ImageKind ImageKindByName(const std::string& path);

} // namespace vorbix
