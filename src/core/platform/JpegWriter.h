#pragma once
// Writing JPEG pictures with libjpeg: used to make the demo catalogue's pictures, the
// pictures that tests need and the fuzz seeds.

#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

// What each pixel's samples are: one grey sample, red green blue, or cyan magenta yellow
// black (stored inverted, with Adobe's marker, as libjpeg writes CMYK).
enum class JpegColours { Grey, Rgb, Cmyk };

// 1, 3 or 4.
int JpegSamplesPerPixel(JpegColours colours);

struct JpegSettings {
    JpegColours Colours = JpegColours::Rgb;
    int Quality = 85;
    bool Progressive = false;
    bool ArithmeticCoding = false;
    bool OptimizedTables = false;
    int RestartInterval = 0; // in blocks; 0 for none
};

// Encodes width x height pixels (the samples of each pixel in turn, rows top to bottom) as
// JPEG bytes. Returns an empty text when the sizes do not match the samples.
std::string EncodeJpeg(int width, int height, const std::vector<std::uint8_t>& samples,
    const JpegSettings& settings = {});

} // namespace vorbix
