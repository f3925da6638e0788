#pragma once
// Writing JPEG pictures with libjpeg: used to make the demo catalogue's pictures and
// the pictures that tests need.

#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

// Encodes width x height RGB pixels (3 bytes each, rows top to bottom) as JPEG bytes.
// Returns an empty text when the sizes do not match the pixels.
std::string EncodeJpeg(int width, int height, const std::vector<std::uint8_t>& rgb, int quality = 85);

} // namespace vorbix
