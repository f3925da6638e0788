#include "platform/JpegDecoder.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

namespace vorbix {
namespace {

// Bounds on the work a file may ask of the decoder, so that no picture stalls the window.
//
// Pixels per byte of file: a Huffman-coded JPEG spends at least one bit on every 8 x 8
// block of its most finely sampled component (a DC difference code is at least one bit
// long), so even a picture of one flat colour holds at most 512 pixels per byte of file;
// real encoders with their standard tables stay below 100, photographs below 10. Twice
// the theoretical figure leaves room for every genuine picture. (Arithmetic coding could
// go beyond it; encoders hardly ever use it, and such a flat picture is refused.)
constexpr std::uint64_t kMaxPixelsPerByte = 1024;
// Scans: the progressive scripts in use have ten or so (a few dozen at the very most);
// only a damaged or hostile file has hundreds.
constexpr int kMaxScans = 256;
// Scans cost a pass over the blocks of their components. Common scripts visit each block
// in four to six scans, elaborate ones in about fifteen; a file that asks for more than
// this many visits per block on average is refused, however few scans it has.
constexpr std::uint64_t kMaxScanVisitsPerBlock = 32;

// Everything libjpeg works on, in one place owned by DecodeJpeg's frame, so that the
// function that calls setjmp holds no object of its own that a jump could leave behind.
struct Decoder {
    jpeg_decompress_struct Info{};
    jpeg_error_mgr Errors{};
    jpeg_progress_mgr Progress{};
    std::jmp_buf Return{};
    bool PrematureEnd = false;
    // Our own reason for stopping, in place of libjpeg's message.
    const char* Refusal = nullptr;
    int ScansCounted = 0;
    std::uint64_t ScanVisits = 0;
    std::uint64_t ScanVisitBudget = 0;
};

Decoder& DecoderOf(j_common_ptr info)
{
    return *static_cast<Decoder*>(info->client_data);
}

// libjpeg's default error exit calls exit(); this one jumps back into RunDecoder instead.
void ErrorExitByJump(j_common_ptr info)
{
    std::longjmp(DecoderOf(info).Return, 1);
}

// Warnings and traces are neither printed nor formatted; a file that ends before its
// picture is complete counts as damaged (libjpeg would otherwise fill the rest grey and
// report success).
void EmitMessageQuietly(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        DecoderOf(info).PrematureEnd = true;
}

std::uint64_t BlocksOf(const jpeg_component_info& component)
{
    return std::uint64_t(component.width_in_blocks) * component.height_in_blocks;
}

// Called by libjpeg before each piece of input it absorbs; a scan it has just started is
// counted here, before any of its data is decoded.
void CountScans(j_common_ptr common)
{
    Decoder& decoder = DecoderOf(common);
    const jpeg_decompress_struct& info = decoder.Info;
    if (info.input_scan_number <= decoder.ScansCounted)
        return;
    decoder.ScansCounted = info.input_scan_number;
    for (int i = 0; i < info.comps_in_scan; ++i)
        decoder.ScanVisits += BlocksOf(*info.cur_comp_info[i]);
    if (decoder.ScansCounted > kMaxScans || decoder.ScanVisits > decoder.ScanVisitBudget) {
        decoder.Refusal = "Damaged JPEG file: too many scans";
        std::longjmp(decoder.Return, 1);
    }
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

// Reads the header and refuses a picture whose size is out of bounds, before libjpeg
// allocates anything for its pixels.
bool SizeAcceptable(const Decoder& decoder, std::size_t fileSize, std::string& refusal)
{
    const jpeg_decompress_struct& info = decoder.Info;
    const std::uint64_t pixels = std::uint64_t(info.image_width) * info.image_height;
    const std::string size = std::to_string(info.image_width) + " x " + std::to_string(info.image_height);
    if (pixels == 0 || pixels > kMaxJpegPixels)
        refusal = "Picture too large: " + size;
    else if (pixels > kMaxPixelsPerByte * fileSize)
        refusal = "Picture too large for its file: " + size + " in " + std::to_string(fileSize) + " bytes";
    return refusal.empty();
}

// Runs libjpeg over the data into image. Every libjpeg error and every refusal of the
// progress monitor jumps back to the setjmp here. Nothing in this function or in the
// frames a jump crosses (libjpeg's, the callbacks) has a destructor, and what this function
// changes after setjmp lives in the caller's frame, so the jump leaves nothing behind.
// Returns false on any failure; refusal is then set when the reason is ours.
bool RunDecoder(Decoder& decoder, const std::uint8_t* data, std::size_t size, RgbImage& image,
    std::vector<JSAMPLE>& rowBuffer, std::string& refusal)
{
    jpeg_decompress_struct& info = decoder.Info;
    if (setjmp(decoder.Return) != 0)
        return false;

    jpeg_create_decompress(&info);
    info.client_data = &decoder;
    info.progress = &decoder.Progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (!SizeAcceptable(decoder, size, refusal))
        return false;
    std::uint64_t blocks = 0;
    for (int i = 0; i < info.num_components; ++i)
        blocks += BlocksOf(info.comp_info[i]);
    decoder.ScanVisitBudget = kMaxScanVisitsPerBlock * blocks;

    info.out_color_space = IsCmykSource(info) ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    image.Width = static_cast<int>(info.output_width);
    image.Height = static_cast<int>(info.output_height);
    const std::size_t stride = static_cast<std::size_t>(image.Width) * 3;
    image.Pixels.resize(stride * static_cast<std::size_t>(image.Height));
    rowBuffer.resize(static_cast<std::size_t>(info.output_width) * static_cast<std::size_t>(info.output_components));

    JSAMPROW rowPointer = rowBuffer.data();
    while (info.output_scanline < info.output_height) {
        const std::size_t line = info.output_scanline;
        if (jpeg_read_scanlines(&info, &rowPointer, 1) != 1 || decoder.PrematureEnd)
            break;
        StoreRow(info, rowBuffer.data(), image.Pixels.data() + line * stride);
    }
    if (info.output_scanline < info.output_height || decoder.PrematureEnd) {
        refusal = "Premature end of JPEG file";
        return false;
    }
    // Only what follows the last line is left: a missing end marker there is no damage.
    jpeg_finish_decompress(&info);
    return true;
}

std::string LibjpegMessage(Decoder& decoder)
{
    char buffer[JMSG_LENGTH_MAX] = {};
    decoder.Errors.format_message(reinterpret_cast<j_common_ptr>(&decoder.Info), buffer);
    return buffer;
}

} // namespace

Result<RgbImage> DecodeJpeg(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size == 0)
        return Failure{"Empty input file", {}};

    Decoder decoder;
    decoder.Info.err = jpeg_std_error(&decoder.Errors);
    decoder.Errors.error_exit = ErrorExitByJump;
    decoder.Errors.emit_message = EmitMessageQuietly;
    decoder.Progress.progress_monitor = CountScans;

    // libjpeg's memory goes however RunDecoder ends (an allocation that throws included).
    struct Destroy {
        jpeg_decompress_struct& Info;
        ~Destroy() { jpeg_destroy_decompress(&Info); }
    } destroy{decoder.Info};

    RgbImage image;
    std::vector<JSAMPLE> rowBuffer;
    std::string refusal;
    if (RunDecoder(decoder, data, size, image, rowBuffer, refusal))
        return image;
    if (refusal.empty())
        refusal = decoder.Refusal != nullptr ? decoder.Refusal : LibjpegMessage(decoder);
    return Failure{refusal, {}};
}

Result<RgbImage> DecodeJpegFile(const std::string& path)
{
    if (!FileExists(path))
        return Failure::CannotOpen(path);
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return bytes.Error();
    Result<RgbImage> decoded =
        DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.Value().data()), bytes.Value().size());
    if (!decoded)
        return Failure{decoded.Message(), path};
    return decoded;
}

} // namespace vorbix
