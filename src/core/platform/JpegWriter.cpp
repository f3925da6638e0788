#include "platform/JpegWriter.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace vorbix {

namespace {

J_COLOR_SPACE ColourSpace(JpegColours colours)
{
    switch (colours) {
    case JpegColours::Grey: return JCS_GRAYSCALE;
    case JpegColours::Cmyk: return JCS_CMYK;
    default: return JCS_RGB;
    }
}

} // namespace

int JpegSamplesPerPixel(JpegColours colours)
{
    switch (colours) {
    case JpegColours::Grey: return 1;
    case JpegColours::Cmyk: return 4;
    default: return 3;
    }
}

std::string EncodeJpeg(int width, int height, const std::vector<std::uint8_t>& samples, const JpegSettings& settings)
{
    const int perPixel = JpegSamplesPerPixel(settings.Colours);
    const std::size_t rowSize = static_cast<std::size_t>(width) * static_cast<std::size_t>(perPixel);
    if (width <= 0 || height <= 0 || samples.size() != rowSize * static_cast<std::size_t>(height))
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
    cinfo.input_components = perPixel;
    cinfo.in_color_space = ColourSpace(settings.Colours);
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, settings.Quality, TRUE);
    if (settings.Progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.arith_code = settings.ArithmeticCoding ? TRUE : FALSE;
    cinfo.optimize_coding = settings.OptimizedTables ? TRUE : FALSE;
    cinfo.restart_interval = static_cast<unsigned int>(settings.RestartInterval);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&samples[static_cast<std::size_t>(cinfo.next_scanline) * rowSize]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return bytes;
}

} // namespace vorbix
