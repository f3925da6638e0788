#include "platform/JpegDecoder.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <jpeglib.h>

using namespace vorbix;
using vorbix::test::TempDir;

namespace {

// Encodes a picture with libjpeg's own compressor; pixel(x, y, sample) gives each sample.
std::string EncodeJpeg(int width, int height, int components, J_COLOR_SPACE space,
    const std::function<int(int, int, int)>& pixel)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width * components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                row[static_cast<std::size_t>(x * components + c)] = static_cast<JSAMPLE>(pixel(x, y, c));
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

std::string SolidRgb(int width, int height, int r, int g, int b)
{
    return EncodeJpeg(width, height, 3, JCS_RGB, [=](int, int, int c) { return c == 0 ? r : c == 1 ? g : b; });
}

Result<RgbImage> Decode(const std::string& bytes)
{
    return DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void ExpectPixelNear(const RgbImage& image, int x, int y, int r, int g, int b)
{
    const std::size_t at = (static_cast<std::size_t>(y) * image.Width + x) * 3;
    EXPECT_NEAR(image.Pixels[at], r, 6) << "red at " << x << "," << y;
    EXPECT_NEAR(image.Pixels[at + 1], g, 6) << "green at " << x << "," << y;
    EXPECT_NEAR(image.Pixels[at + 2], b, 6) << "blue at " << x << "," << y;
}

} // namespace

TEST(JpegDecoder, DecodesRgbGreyAndCmykPicturesToRgb)
{
    // An odd size that is no multiple of the 8 x 8 blocks, two colours left and right.
    const auto halves = EncodeJpeg(37, 23, 3, JCS_RGB,
        [](int x, int, int c) { return x < 16 ? (c == 0 ? 200 : 20) : (c == 2 ? 220 : 10); });
    const auto rgb = Decode(halves);
    ASSERT_TRUE(rgb.Ok()) << rgb.Message();
    EXPECT_EQ(rgb.Value().Width, 37);
    EXPECT_EQ(rgb.Value().Height, 23);
    ASSERT_EQ(rgb.Value().Pixels.size(), 37u * 23u * 3u);
    ExpectPixelNear(rgb.Value(), 2, 2, 200, 20, 20);
    ExpectPixelNear(rgb.Value(), 34, 20, 10, 10, 220);

    const auto grey = Decode(EncodeJpeg(8, 9, 1, JCS_GRAYSCALE, [](int, int, int) { return 90; }));
    ASSERT_TRUE(grey.Ok()) << grey.Message();
    EXPECT_EQ(grey.Value().Pixels.size(), 8u * 9u * 3u);
    ExpectPixelNear(grey.Value(), 4, 4, 90, 90, 90);

    // libjpeg writes an Adobe marker with CMYK, whose samples are stored inverted.
    const auto cmyk = Decode(EncodeJpeg(16, 16, 4, JCS_CMYK,
        [](int, int, int c) { return c == 0 || c == 3 ? 255 : 0; }));
    ASSERT_TRUE(cmyk.Ok()) << cmyk.Message();
    ExpectPixelNear(cmyk.Value(), 8, 8, 255, 0, 0);
}

TEST(JpegDecoder, RefusesDamagedAndForeignDataWithoutEndingTheProcess)
{
    // A busy picture, so that most of the file is compressed data.
    const auto good = EncodeJpeg(200, 150, 3, JCS_RGB, [](int x, int y, int c) { return (x * 7 + y * 13 + c * 50) % 256; });

    const auto truncated = Decode(good.substr(0, good.size() / 2));
    EXPECT_FALSE(truncated.Ok());
    EXPECT_EQ(truncated.Message(), "Premature end of JPEG file");

    const auto onlyStart = Decode(good.substr(0, 2));
    EXPECT_FALSE(onlyStart.Ok());
    EXPECT_FALSE(onlyStart.Message().empty());

    const auto text = Decode("This is a text file, not a picture.\r\n");
    EXPECT_FALSE(text.Ok());
    EXPECT_NE(text.Message().find("Not a JPEG file"), std::string::npos) << text.Message();

    EXPECT_FALSE(Decode("").Ok());
    EXPECT_FALSE(DecodeJpeg(nullptr, 10).Ok());

    // Junk in every position of the compressed data: each decode either fails cleanly or
    // gives a picture of the declared size.
    for (std::size_t at = 2; at < good.size(); at += 97) {
        std::string damaged = good;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
        const auto result = Decode(damaged);
        if (result.Ok())
            EXPECT_EQ(result.Value().Pixels.size(), std::size_t(result.Value().Width) * result.Value().Height * 3)
                << "at " << at;
        else
            EXPECT_FALSE(result.Message().empty()) << "at " << at;
    }
}

TEST(JpegDecoder, RefusesPicturesTooLargeToHold)
{
    std::string bytes = SolidRgb(16, 16, 1, 2, 3);
    const auto sof = bytes.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    // Height and width follow the marker, its length and the sample precision.
    for (std::size_t i : {sof + 5, sof + 7}) {
        bytes[i] = static_cast<char>(0xEA);
        bytes[i + 1] = static_cast<char>(0x60);
    }
    const auto huge = Decode(bytes);
    EXPECT_FALSE(huge.Ok());
    EXPECT_EQ(huge.Message(), "Picture too large: 60000 x 60000");
}

TEST(JpegDecoder, ReadsFilesAndReportsMissingOnes)
{
    TempDir dir;
    const auto path = dir.Write("Elite.jpg", SolidRgb(10, 12, 250, 250, 250));
    const auto read = DecodeJpegFile(path);
    ASSERT_TRUE(read.Ok()) << read.Message();
    EXPECT_EQ(read.Value().Width, 10);
    EXPECT_EQ(read.Value().Height, 12);

    const auto missing = DecodeJpegFile(dir / "None.jpg");
    EXPECT_FALSE(missing.Ok());
    EXPECT_EQ(missing.Error(), (Failure{"Cannot open file " + dir / "None.jpg", dir / "None.jpg"}));

    const auto folder = DecodeJpegFile(dir.path());
    EXPECT_FALSE(folder.Ok());
}
