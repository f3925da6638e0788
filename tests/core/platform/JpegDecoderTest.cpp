#include "platform/JpegDecoder.h"
#include "platform/JpegWriter.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>

using namespace vorbix;
using vorbix::test::TempDir;

namespace {

// A picture made by the JPEG writer at quality 95; pixel(x, y, sample) gives each sample.
std::string Picture(int width, int height, JpegColours colours, const std::function<int(int, int, int)>& pixel,
    bool progressive = false)
{
    const int perPixel = JpegSamplesPerPixel(colours);
    std::vector<std::uint8_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < perPixel; ++c)
                samples.push_back(static_cast<std::uint8_t>(pixel(x, y, c)));
    return EncodeJpeg(width, height, samples, {.Colours = colours, .Quality = 95, .Progressive = progressive});
}

std::string SolidRgb(int width, int height, int r, int g, int b)
{
    return Picture(width, height, JpegColours::Rgb, [=](int, int, int c) { return c == 0 ? r : c == 1 ? g : b; });
}

Result<RgbImage> Decode(const std::string& bytes)
{
    return DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void ExpectPixelNear(const RgbImage& image, int x, int y, int r, int g, int b)
{
    const std::size_t at =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width) + static_cast<std::size_t>(x)) * 3;
    EXPECT_NEAR(image.Pixels[at], r, 6) << "red at " << x << "," << y;
    EXPECT_NEAR(image.Pixels[at + 1], g, 6) << "green at " << x << "," << y;
    EXPECT_NEAR(image.Pixels[at + 2], b, 6) << "blue at " << x << "," << y;
}

void Put16(std::string& out, int value)
{
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

// The start of a grey JPEG written marker by marker, up to its first scan: a quantisation
// table, the frame (baseline or progressive) of the given size, and a DC and an AC
// Huffman table with a single one-bit code each (DC difference 0, end of block).
std::string GreyJpegHeader(int width, int height, bool progressive)
{
    std::string out = "\xFF\xD8\xFF\xDB";
    Put16(out, 67);
    out += '\0';
    out.append(64, '\1');
    out += progressive ? "\xFF\xC2" : "\xFF\xC0";
    Put16(out, 11);
    out += '\x08';
    Put16(out, height);
    Put16(out, width);
    out += std::string("\x01\x01\x11\x00", 4);
    for (char tableClass : {'\x00', '\x10'}) {
        out += "\xFF\xC4";
        Put16(out, 20);
        out += tableClass;
        out += '\x01';
        out.append(16, '\0'); // 15 more counts of zero, then the one symbol, 0
    }
    return out;
}

// A scan header for the one component: spectral selection start and end, no successive
// approximation.
std::string ScanHeader(int spectralStart, int spectralEnd)
{
    std::string out = "\xFF\xDA";
    Put16(out, 8);
    out += std::string("\x01\x01\x00", 3);
    out += static_cast<char>(spectralStart);
    out += static_cast<char>(spectralEnd);
    out += '\0';
    return out;
}

// A progressive picture whose scans hold no coded data: a DC scan, then AC scans over the
// same band again and again. Each scan is 10 bytes of file but a pass over every block.
std::string EmptyScansJpeg(int width, int height, int scans)
{
    std::string out = GreyJpegHeader(width, height, true) + ScanHeader(0, 0);
    for (int i = 1; i < scans; ++i)
        out += ScanHeader(1, 63);
    return out + "\xFF\xD9";
}

long PeakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST(JpegDecoder, DecodesRgbGreyAndCmykPicturesToRgb)
{
    // An odd size that is no multiple of the 8 x 8 blocks, two colours left and right.
    const auto halves = Picture(37, 23, JpegColours::Rgb,
        [](int x, int, int c) { return x < 16 ? (c == 0 ? 200 : 20) : (c == 2 ? 220 : 10); });
    const auto rgb = Decode(halves);
    ASSERT_TRUE(rgb.Ok()) << rgb.Message();
    EXPECT_EQ(rgb.Value().Width, 37);
    EXPECT_EQ(rgb.Value().Height, 23);
    ASSERT_EQ(rgb.Value().Pixels.size(), 37u * 23u * 3u);
    ExpectPixelNear(rgb.Value(), 2, 2, 200, 20, 20);
    ExpectPixelNear(rgb.Value(), 34, 20, 10, 10, 220);

    const auto grey = Decode(Picture(8, 9, JpegColours::Grey, [](int, int, int) { return 90; }));
    ASSERT_TRUE(grey.Ok()) << grey.Message();
    EXPECT_EQ(grey.Value().Pixels.size(), 8u * 9u * 3u);
    ExpectPixelNear(grey.Value(), 4, 4, 90, 90, 90);

    // libjpeg writes an Adobe marker with CMYK, whose samples are stored inverted.
    const auto cmyk =
        Decode(Picture(16, 16, JpegColours::Cmyk, [](int, int, int c) { return c == 0 || c == 3 ? 255 : 0; }));
    ASSERT_TRUE(cmyk.Ok()) << cmyk.Message();
    ExpectPixelNear(cmyk.Value(), 8, 8, 255, 0, 0);
}

TEST(JpegDecoder, RefusesDamagedAndForeignDataWithoutEndingTheProcess)
{
    // A busy picture, so that most of the file is compressed data.
    const auto good =
        Picture(200, 150, JpegColours::Rgb, [](int x, int y, int c) { return (x * 7 + y * 13 + c * 50) % 256; });

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
            EXPECT_EQ(result.Value().Pixels.size(),
                std::size_t(result.Value().Width) * std::size_t(result.Value().Height) * 3)
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

// The refusal messages show that each file is refused by its check and not decoded; no
// time limit is asserted, which a busy machine would break.
TEST(JpegDecoder, RefusesHostileFilesQuicklyAndWithoutLargeAllocations)
{
    const long peakBefore = PeakResidentKilobytes();

    // 3000 empty scans over 4096 x 4096 pixels: a 30 KB file whose scans, read to the end,
    // would keep the decoder busy for seconds (minutes on a slow machine).
    const std::string scans = EmptyScansJpeg(4096, 4096, 3000);
    ASSERT_LT(scans.size(), 31000u);
    const auto manyScans = Decode(scans);
    ASSERT_FALSE(manyScans.Ok());
    EXPECT_NE(manyScans.Message().find("scans"), std::string::npos) << manyScans.Message();

    // The same on a small picture, where each scan is cheap: the number of scans is bounded too.
    const auto smallManyScans = Decode(EmptyScansJpeg(64, 64, 3000));
    ASSERT_FALSE(smallManyScans.Ok());
    EXPECT_NE(smallManyScans.Message().find("scans"), std::string::npos) << smallManyScans.Message();

    // A baseline header declaring 8000 x 8000 pixels followed by a few bytes of data.
    std::string huge = GreyJpegHeader(8000, 8000, false) + ScanHeader(0, 63) + std::string(8, '\0') + "\xFF\xD9";
    ASSERT_LT(huge.size(), 160u);
    const auto hugeResult = Decode(huge);
    ASSERT_FALSE(hugeResult.Ok());
    EXPECT_EQ(hugeResult.Message(),
        "Picture too large for its file: 8000 x 8000 in " + std::to_string(huge.size()) + " bytes");

    // The same header made plausible by its size (a comment pads the file): refused by
    // the absolute limit alone, still before anything is allocated for the pixels.
    std::string padded = GreyJpegHeader(9000, 9000, false);
    for (int i = 0; i < 2; ++i) {
        padded += "\xFF\xFE";
        Put16(padded, 65535);
        padded.append(65533, 'x');
    }
    padded += ScanHeader(0, 63) + "\xFF\xD9";
    const auto paddedResult = Decode(padded);
    ASSERT_FALSE(paddedResult.Ok());
    EXPECT_EQ(paddedResult.Message(), "Picture too large: 9000 x 9000");

    // None of them allocated anything near the 190 MB their pixels would take.
    EXPECT_LT(PeakResidentKilobytes() - peakBefore, 48 * 1024);

    // Neither limit refuses what genuine pictures hold: the flattest picture an encoder
    // makes (one colour, 2048 x 2048 in a few kilobytes per megapixel), and a progressive
    // one with the usual ten scans.
    const std::string flat = EncodeJpeg(2048, 2048, std::vector<std::uint8_t>(2048u * 2048u * 3u, 40));
    const auto flatResult = Decode(flat);
    ASSERT_TRUE(flatResult.Ok()) << flatResult.Message();
    ExpectPixelNear(flatResult.Value(), 2047, 2047, 40, 40, 40);
    const auto progressive = Decode(Picture(
        300, 200, JpegColours::Rgb, [](int x, int y, int c) { return (x * 3 + y * 5 + c * 70) % 256; }, true));
    ASSERT_TRUE(progressive.Ok()) << progressive.Message();
    EXPECT_EQ(progressive.Value().Width, 300);
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
