// Feeds arbitrary bytes to the PNG-to-JPEG conversion of screen pictures (the system's
// libpng, then our JPEG writer). A conversion either fails with its message or gives a
// JPEG that decodes to a picture within the limits; a slow input is a finding.

#include "FuzzSupport.h"

#include "platform/JpegDecoder.h"
#include "platform/PngPictures.h"

#include <cstdint>
#include <string_view>

using namespace vorbix;
using namespace vorbix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Result<std::string> jpeg = JpegFromPng(bytes, "in.png");
    if (!jpeg) {
        Check(jpeg.Message() == "Cannot convert the PNG picture in.png to JPEG");
        return 0;
    }
    Check(IsPng(bytes));
    const std::string& out = jpeg.Value();
    const Result<RgbImage> decoded = DecodeJpeg(reinterpret_cast<const std::uint8_t*>(out.data()), out.size());
    Check(decoded.Ok() && !decoded.Value().Empty());
    Check(std::uint64_t(decoded.Value().Width) * std::uint64_t(decoded.Value().Height) <= (std::uint64_t{16} << 20));
    return 0;
}
