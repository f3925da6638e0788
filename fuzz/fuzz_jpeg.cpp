// Feeds arbitrary bytes to the JPEG decoder (the wrapper over the system's libjpeg).
// A decode either fails with a message or gives a picture within the size limit whose
// buffer holds exactly its pixels; libjpeg's errors never end the process, and a slow
// input is a finding (the fuzz script runs with a timeout).

#include "FuzzSupport.h"

#include "platform/JpegDecoder.h"

#include <cstdint>

using namespace vorbix;
using namespace vorbix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Result<RgbImage> decoded = DecodeJpeg(data, size);
    if (!decoded) {
        Check(!decoded.Message().empty());
        return 0;
    }
    const RgbImage& image = decoded.Value();
    Check(image.Width > 0 && image.Height > 0);
    Check(std::uint64_t(image.Width) * std::uint64_t(image.Height) <= kMaxJpegPixels);
    Check(image.Pixels.size() == std::size_t(image.Width) * std::size_t(image.Height) * 3);
    return 0;
}
