#pragma once
// Decoding JPEG pictures (program pictures, box covers, the about window's picture) with
// libjpeg into a plain RGB buffer. A damaged or foreign file gives an error message; it
// never ends the process.

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

struct JpegDecodeResult {
    bool Ok = false;
    std::string Error;  // libjpeg's message, or why the data was refused
    RgbImage Image;
};

// Pictures larger than this many pixels are refused rather than allocated.
inline constexpr std::uint64_t kMaxJpegPixels = 64ull * 1024 * 1024;

JpegDecodeResult DecodeJpeg(const std::uint8_t* data, std::size_t size);
// Reads and decodes a file; a missing or unreadable file is an error like damaged data.
JpegDecodeResult DecodeJpegFile(const std::string& path);

} // namespace vorbix
