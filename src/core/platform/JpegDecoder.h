#pragma once
// Decoding JPEG pictures (program pictures, box covers, the about window's picture) with
// libjpeg into a plain RGB buffer. A damaged or foreign file gives an error message; it
// never ends the process.

#include "host/Result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

// A decoded picture: Height rows of Width pixels, 3 bytes (R, G, B) each, no row padding.
struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;

    bool Empty() const { return Width == 0 || Height == 0; }
};

// Pictures larger than this many pixels are refused rather than allocated.
inline constexpr std::uint64_t kMaxJpegPixels = 64ull * 1024 * 1024;

// A failure carries libjpeg's message, or why the data was refused. Besides the limit
// above, a picture that declares more pixels than its file could code, or whose scans
// would ask for far more work than its size needs, is refused as damaged, before its
// pixels are allocated or its scans decoded; so no file stalls the caller for long.
Result<RgbImage> DecodeJpeg(const std::uint8_t* data, std::size_t size);
// Reads and decodes a file; a missing or unreadable file is an error like damaged data,
// and every failure names the file.
Result<RgbImage> DecodeJpegFile(const std::string& path);

} // namespace vorbix
