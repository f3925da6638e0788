#include "platform/JpegWriter.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace vorbix {

std::string EncodeJpeg(int width, int height, const std::vector<std::uint8_t>& rgb, int quality)
{
    if (width <= 0 || height <= 0
        || rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)
        return std::string();
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            &rgb[static_cast<std::size_t>(cinfo.next_scanline) * static_cast<std::size_t>(width) * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return bytes;
}

} // namespace vorbix
