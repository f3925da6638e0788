#include "support/AdfsUefImages.h"

#include <zlib.h>

#include <stdexcept>

namespace vorbix::test {

namespace {

void PutLittleEndian(std::string& bytes, std::size_t at, unsigned value, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFFU);
}

void AppendLittleEndian(std::string& bytes, unsigned value, std::size_t count)
{
    bytes.append(count, '\0');
    PutLittleEndian(bytes, bytes.size() - count, value, count);
}

// An old-map directory of five sectors: "Hugo" at both ends, the entries, the tail.
std::string AdfsDirectory(const std::string& title, unsigned parent, const std::vector<AdfsFile>& entries)
{
    std::string dir(1280, '\0');
    dir.replace(1, 4, "Hugo");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const AdfsFile& file = entries[i];
        const std::size_t at = 5 + 26 * i;
        std::string name = file.Name.substr(0, 10);
        if (name.size() < 10)
            name += '\r';
        name.resize(10, '\0');
        dir.replace(at, 10, name);
        const auto flag = [&](std::size_t byte, bool set) {
            if (set)
                dir[at + byte] = static_cast<char>(dir[at + byte] | '\x80');
        };
        flag(0, !file.Directory); // R
        flag(1, !file.Directory && !file.Locked); // W
        flag(2, file.Locked || file.Directory); // L
        flag(3, file.Directory); // D
        PutLittleEndian(dir, at + 0x0A, file.Load, 4);
        PutLittleEndian(dir, at + 0x0E, file.Exec, 4);
        PutLittleEndian(dir, at + 0x12, file.Length, 4);
        PutLittleEndian(dir, at + 0x16, file.StartSector, 3);
    }
    dir.replace(0x4CC, 2, "$\r");
    PutLittleEndian(dir, 0x4D6, parent, 3);
    dir.replace(0x4D9, title.size() + 1, title + "\r");
    dir.replace(0x4FB, 4, "Hugo");
    return dir;
}

} // namespace

std::string AdfsImage(unsigned totalSectors, int bootOption, const std::string& title,
    const std::vector<AdfsFile>& root, bool interleaved)
{
    std::string disc(std::size_t{totalSectors} * 256, '\0');
    PutLittleEndian(disc, 0xFC, totalSectors, 3);
    disc[256 + 0xFD] = static_cast<char>(bootOption);
    disc.replace(512, 1280, AdfsDirectory(title, 2, root));
    for (const AdfsFile& file : root)
        if (file.Directory && (std::size_t{file.StartSector} + 5) * 256 <= disc.size())
            disc.replace(std::size_t{file.StartSector} * 256, 1280, AdfsDirectory(file.Name, 2, {}));
    if (!interleaved)
        return disc;
    constexpr std::size_t kTrack = std::size_t{16} * 256;
    std::string image(disc.size(), '\0');
    for (std::size_t track = 0; track < disc.size() / kTrack; ++track)
        image.replace(((track % 80) * 2 + track / 80) * kTrack, kTrack, disc, track * kTrack, kTrack);
    return image;
}

namespace {

unsigned Crc(const std::string& bytes)
{
    unsigned crc = 0;
    for (const char c : bytes) {
        crc ^= unsigned{static_cast<unsigned char>(c)} << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000U) != 0 ? ((crc << 1) ^ 0x1021U) & 0xFFFFU : (crc << 1) & 0xFFFFU;
    }
    return crc;
}

void AppendChunk(std::string& tape, unsigned id, const std::string& data)
{
    AppendLittleEndian(tape, id, 2);
    AppendLittleEndian(tape, static_cast<unsigned>(data.size()), 4);
    tape += data;
}

std::string Block(const TapeFileSpec& file, unsigned number, const std::string& data, bool last)
{
    std::string header = file.Name + '\0';
    AppendLittleEndian(header, file.Load, 4);
    AppendLittleEndian(header, file.Exec, 4);
    AppendLittleEndian(header, number, 2);
    AppendLittleEndian(header, static_cast<unsigned>(data.size()), 2);
    header += static_cast<char>((last ? 0x80 : 0) | (data.empty() ? 0x40 : 0) | (file.Locked ? 0x01 : 0));
    AppendLittleEndian(header, 0, 4);
    const unsigned headerCrc = Crc(header);
    std::string block = "*" + header;
    block += static_cast<char>(headerCrc >> 8);
    block += static_cast<char>(headerCrc & 0xFF);
    if (!data.empty()) {
        const unsigned dataCrc = Crc(data);
        block += data;
        block += static_cast<char>(dataCrc >> 8);
        block += static_cast<char>(dataCrc & 0xFF);
    }
    return block;
}

} // namespace

std::string UefImage(const std::vector<TapeFileSpec>& files)
{
    std::string tape("UEF File!\0\x0A\x00", 12);
    for (const TapeFileSpec& file : files) {
        const std::size_t blocks = file.Data.empty() ? 1 : (file.Data.size() + 255) / 256;
        for (std::size_t b = 0; b < blocks; ++b) {
            AppendChunk(tape, 0x0110, std::string("\xDC\x05", 2)); // a carrier tone of 1500 cycles
            const std::string data = file.Data.substr(std::min(file.Data.size(), b * 256), 256);
            AppendChunk(tape, 0x0100, Block(file, static_cast<unsigned>(b), data, b + 1 == blocks));
        }
    }
    return tape;
}

std::string Gzip(const std::string& bytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string packed(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    const int status = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw std::runtime_error("deflate");
    return packed;
}

} // namespace vorbix::test
