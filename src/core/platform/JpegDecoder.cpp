#include "platform/JpegDecoder.h"

#include "platform/FileSystem.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

namespace vorbix {
namespace {

// libjpeg's default error exit calls exit(); this one jumps back into DecodeJpeg instead.
struct JumpingErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Return;
    bool PrematureEnd = false;
};

void ErrorExitByJump(j_common_ptr info)
{
    auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
    std::longjmp(manager->Return, 1);
}

// Warnings are not printed; a file that ends before its picture is complete counts as
// damaged (libjpeg would otherwise fill the rest grey and report success).
void EmitMessageQuietly(j_common_ptr info, int level)
{
    auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        manager->PrematureEnd = true;
}

std::string LibjpegMessage(j_common_ptr info)
{
    char buffer[JMSG_LENGTH_MAX] = {};
    info->err->format_message(info, buffer);
    return buffer;
}

bool IsCmykSource(const jpeg_decompress_struct& info)
{
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

// Converts one decoded scan line to RGB. CMYK from Adobe files is stored inverted, which
// makes the usual conversion a plain product with K.
void StoreRow(const jpeg_decompress_struct& info, const JSAMPLE* row, std::uint8_t* out)
{
    const auto width = static_cast<std::size_t>(info.output_width);
    if (info.out_color_space == JCS_CMYK) {
        const bool inverted = info.saw_Adobe_marker;
        for (std::size_t x = 0; x < width; ++x) {
            const JSAMPLE* p = row + x * 4;
            unsigned c = inverted ? p[0] : 255u - p[0];
            unsigned m = inverted ? p[1] : 255u - p[1];
            unsigned y = inverted ? p[2] : 255u - p[2];
            unsigned k = inverted ? p[3] : 255u - p[3];
            out[x * 3] = static_cast<std::uint8_t>(c * k / 255);
            out[x * 3 + 1] = static_cast<std::uint8_t>(m * k / 255);
            out[x * 3 + 2] = static_cast<std::uint8_t>(y * k / 255);
        }
        return;
    }
    std::copy(row, row + width * 3, out);
}

// The part of the decoding that may jump out; kept free of objects with destructors
// so that a longjmp past it skips no clean-up.
bool ReadScanLines(jpeg_decompress_struct& info, std::vector<JSAMPLE>& rowBuffer, RgbImage& image)
{
    JSAMPROW rowPointer = rowBuffer.data();
    const std::size_t stride = static_cast<std::size_t>(image.Width) * 3;
    while (info.output_scanline < info.output_height) {
        const auto line = info.output_scanline;
        if (jpeg_read_scanlines(&info, &rowPointer, 1) != 1)
            return false;
        StoreRow(info, rowBuffer.data(), image.Pixels.data() + line * stride);
    }
    return true;
}

} // namespace

Result<RgbImage> DecodeJpeg(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size == 0)
        return Failure{"Empty input file", {}};

    jpeg_decompress_struct info{};
    JumpingErrorManager errors{};
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = ErrorExitByJump;
    errors.Base.emit_message = EmitMessageQuietly;

    // Everything that must survive a longjmp lives outside the setjmp scope and is only
    // resized (never constructed) after it.
    RgbImage image;
    std::vector<JSAMPLE> rowBuffer;
    if (setjmp(errors.Return) != 0) {
        Failure failure{LibjpegMessage(reinterpret_cast<j_common_ptr>(&info)), {}};
        jpeg_destroy_decompress(&info);
        return failure;
    }

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = IsCmykSource(info) ? JCS_CMYK : JCS_RGB;
    jpeg_calc_output_dimensions(&info);

    const std::uint64_t pixels = std::uint64_t(info.output_width) * info.output_height;
    if (pixels == 0 || pixels > kMaxJpegPixels) {
        Failure failure{"Picture too large: " + std::to_string(info.output_width) + " x "
                + std::to_string(info.output_height), {}};
        jpeg_destroy_decompress(&info);
        return failure;
    }

    jpeg_start_decompress(&info);
    image.Width = static_cast<int>(info.output_width);
    image.Height = static_cast<int>(info.output_height);
    image.Pixels.resize(static_cast<std::size_t>(pixels) * 3);
    rowBuffer.resize(static_cast<std::size_t>(info.output_width) * info.output_components);

    const bool complete = ReadScanLines(info, rowBuffer, image);
    if (complete && !errors.PrematureEnd)
        jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);

    if (!complete || errors.PrematureEnd)
        return Failure{"Premature end of JPEG file", {}};
    return image;
}

Result<RgbImage> DecodeJpegFile(const std::string& path)
{
    if (!FileExists(path))
        return Failure::CannotOpen(path);
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return bytes.Error();
    Result<RgbImage> decoded = DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.Value().data()),
        bytes.Value().size());
    if (!decoded)
        return Failure{decoded.Message(), path};
    return decoded;
}

} // namespace vorbix
