#include "platform/PngPictures.h"

#include "platform/JpegWriter.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace vorbix {

namespace {

constexpr png_uint_32 kLargestSide = 8192;
constexpr std::uint64_t kLargestPixels = std::uint64_t{16} << 20;

// The simplified reader of libpng: it keeps its own state and never longjmps past us.
class PngImage {
public:
    PngImage() { image_.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image_); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    png_image& operator*() { return image_; }

private:
    png_image image_{};
};

} // namespace

bool IsPng(std::string_view bytes)
{
    static constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return bytes.size() >= sizeof kSignature && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

Result<std::string> JpegFromPng(std::string_view png, const std::string& name)
{
    const Failure failed{"Cannot convert the PNG picture " + name + " to JPEG", name};
    PngImage image;
    if (png_image_begin_read_from_memory(&*image, png.data(), png.size()) == 0)
        return failed;
    const png_uint_32 width = (*image).width;
    const png_uint_32 height = (*image).height;
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide
        || std::uint64_t{width} * height > kLargestPixels)
        return failed;
    (*image).format = PNG_FORMAT_RGB;
    // Deflate codes at most about 1,032 bytes in one: a picture that declares more than its
    // file could hold is damaged, and is refused before its pixels are allocated.
    const std::size_t pixelBytes = PNG_IMAGE_SIZE(*image);
    if (pixelBytes / 1100 > png.size())
        return failed;
    std::vector<std::uint8_t> rgb(pixelBytes);
    const png_color black{0, 0, 0};
    if (png_image_finish_read(&*image, &black, rgb.data(), 0, nullptr) == 0)
        return failed;
    std::string jpeg = EncodeJpeg(static_cast<int>(width), static_cast<int>(height), rgb);
    if (jpeg.empty())
        return failed;
    return jpeg;
}

} // namespace vorbix
