#include "discs/UefTape.h"

#include "discs/DiscBytes.h"

#include <zlib.h>

#include <algorithm>
#include <optional>

namespace vorbix {

namespace {

using discs::Byte;
using discs::LittleEndian;

constexpr std::string_view kMagic("UEF File!\0", 10);
constexpr std::size_t kHeaderBytes = 12; // the magic and the version
constexpr std::size_t kChunkHeaderBytes = 6;
constexpr unsigned kSyncByte = 0x2A;
constexpr std::size_t kMaxNameBytes = 10;
// After the name's NUL: load, exec, block number, length, flag, next address, header CRC.
constexpr std::size_t kBlockFieldBytes = 4 + 4 + 2 + 2 + 1 + 4 + 2;

struct Unpacked {
    std::string Bytes;
    std::string Problem;
};

bool IsGzip(std::string_view bytes)
{
    return bytes.size() >= 2 && Byte(bytes, 0) == 0x1FU && Byte(bytes, 1) == 0x8BU;
}

// Inflates gzip members one after another into at most kUefMaxBytes. A stream that is cut
// short or damaged keeps what was unpacked before, with a line saying so. Every round
// either takes input or gives output, or the loop ends.
Result<Unpacked> Gunzip(std::string_view packed)
{
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return Failure{"Cannot unpack the compressed tape: out of memory", {}};
    Unpacked out;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    constexpr std::size_t kStep = std::size_t{64} * 1024;
    for (;;) {
        const std::size_t have = out.Bytes.size();
        // One byte over the limit tells a tape of exactly the limit from a larger one.
        const std::size_t room = std::min(kStep, kUefMaxBytes + 1 - have);
        out.Bytes.resize(have + room);
        stream.next_out = reinterpret_cast<Bytef*>(out.Bytes.data() + have);
        stream.avail_out = static_cast<uInt>(room);
        const int status = inflate(&stream, Z_NO_FLUSH);
        out.Bytes.resize(have + room - stream.avail_out);
        if (out.Bytes.size() > kUefMaxBytes) {
            inflateEnd(&stream);
            return Failure{"The compressed tape unpacks to more than " + std::to_string(kUefMaxBytes >> 20)
                    + " MB, more than any tape holds; not read",
                {}};
        }
        if (status == Z_STREAM_END) {
            // Another member may follow; anything else after the end is ignored.
            if (stream.avail_in >= 2 && stream.next_in[0] == 0x1F && stream.next_in[1] == 0x8B
                && inflateReset(&stream) == Z_OK)
                continue;
            break;
        }
        if (status == Z_BUF_ERROR && stream.avail_in == 0) {
            out.Problem = "The compressed tape ends early";
            break;
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            out.Problem = "The compressed tape is damaged";
            break;
        }
    }
    inflateEnd(&stream);
    return out;
}

// The 16-bit checksum of the cassette format (CCITT polynomial &1021, starting from 0).
unsigned BlockCrc(std::string_view bytes)
{
    unsigned crc = 0;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned>(static_cast<unsigned char>(c)) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000U) != 0 ? ((crc << 1) ^ 0x1021U) & 0xFFFFU : (crc << 1) & 0xFFFFU;
    }
    return crc;
}

struct Block {
    std::string Name;
    unsigned Load = 0;
    unsigned Exec = 0;
    unsigned Number = 0;
    unsigned Length = 0;
    unsigned Flag = 0;
    bool BadHeader = false;
    std::size_t End = 0; // where the next block may start
    bool Cut = false; // the data ends inside the block
};

// The header of the block whose sync byte is at, if a name of up to 10 bytes with its NUL
// follows it; a header cut short is a Block with Cut set.
std::optional<Block> BlockAt(std::string_view data, std::size_t at)
{
    const std::size_t nameAt = at + 1;
    std::size_t nul = nameAt;
    while (nul < data.size() && nul - nameAt <= kMaxNameBytes && data[nul] != '\0')
        ++nul;
    if (nul - nameAt > kMaxNameBytes)
        return std::nullopt;
    Block block;
    block.Cut = true;
    if (nul >= data.size() || data.size() - nul - 1 < kBlockFieldBytes)
        return block;
    for (std::size_t i = nameAt; i < nul; ++i)
        block.Name += discs::ShownChar(Byte(data, i));
    const std::size_t fields = nul + 1;
    block.Load = LittleEndian(data, fields, 4);
    block.Exec = LittleEndian(data, fields + 4, 4);
    block.Number = LittleEndian(data, fields + 8, 2);
    block.Length = LittleEndian(data, fields + 10, 2);
    block.Flag = Byte(data, fields + 12);
    const std::size_t crcAt = fields + kBlockFieldBytes - 2;
    block.BadHeader = BlockCrc(data.substr(nameAt, crcAt - nameAt)) != (Byte(data, crcAt) << 8 | Byte(data, crcAt + 1));
    // The data and its checksum follow, unless the block is empty.
    const std::size_t dataBytes = block.Length == 0 ? 0 : block.Length + 2;
    block.End = crcAt + 2 + dataBytes;
    block.Cut = block.End > data.size();
    return block;
}

class TapeReader {
public:
    explicit TapeReader(TapeContents& tape) : tape_(tape) {}

    // The blocks of one run of data chunks (the bytes between two carrier tones or gaps).
    void ReadRun(std::string_view data)
    {
        std::size_t at = 0;
        while (at < data.size() && !full_) {
            if (Byte(data, at) != kSyncByte) {
                ++at;
                continue;
            }
            const std::optional<Block> block = BlockAt(data, at);
            if (!block) {
                ++at;
                continue;
            }
            if (block->End == 0) {
                SetProblem("The tape ends inside a block's header");
                return;
            }
            Add(*block);
            if (block->Cut) {
                SetProblem("The tape ends inside block " + std::to_string(block->Number) + " of " + block->Name);
                return;
            }
            at = block->End;
        }
    }

    // A tape that ends without its last file's last block is cut short too.
    void Finish()
    {
        if (!tape_.Files.empty() && !lastEnded_ && !full_)
            SetProblem("The tape ends before the last block of " + tape_.Files.back().Name);
    }

    void SetProblem(const std::string& problem)
    {
        if (tape_.Problem.empty())
            tape_.Problem = problem;
    }

private:
    void Add(const Block& block)
    {
        const bool continues =
            !tape_.Files.empty() && !lastEnded_ && block.Number != 0 && tape_.Files.back().Name == block.Name;
        if (!continues) {
            if (tape_.Files.size() == kUefMaxFiles) {
                SetProblem("More than " + std::to_string(kUefMaxFiles) + " files; the rest are not listed");
                full_ = true;
                return;
            }
            tape_.Files.push_back({block.Name, block.Load, block.Exec, 0, 0, false, false});
        }
        TapeFile& file = tape_.Files.back();
        file.Length += block.Length;
        ++file.Blocks;
        file.Locked = file.Locked || (block.Flag & 0x01U) != 0;
        file.BadHeader = file.BadHeader || block.BadHeader;
        lastEnded_ = (block.Flag & 0x80U) != 0;
    }

    TapeContents& tape_;
    bool lastEnded_ = false;
    bool full_ = false;
};

// The chunks' data, run by run: consecutive data chunks are one run, so that a block split
// over two chunks is read whole.
void ReadChunks(std::string_view tape, TapeReader& reader)
{
    std::string run;
    std::size_t at = kHeaderBytes;
    while (at < tape.size()) {
        if (tape.size() - at < kChunkHeaderBytes) {
            reader.SetProblem("The tape ends inside a chunk's header");
            break;
        }
        const unsigned id = LittleEndian(tape, at, 2);
        const std::size_t length = LittleEndian(tape, at + 2, 4);
        const std::size_t dataAt = at + kChunkHeaderBytes;
        const bool cut = length > tape.size() - dataAt;
        const std::string_view data = tape.substr(dataAt, cut ? std::string_view::npos : length);
        if (id == 0x0100)
            run += data;
        else if (id == 0x0104 && data.size() >= 3 && Byte(data, 0) == 8)
            run += data.substr(3);
        else if (!run.empty()) {
            reader.ReadRun(run);
            run.clear();
        }
        if (cut) {
            reader.SetProblem("The tape ends inside a chunk");
            break;
        }
        at = dataAt + length;
    }
    if (!run.empty())
        reader.ReadRun(run);
}

} // namespace

Result<TapeContents> ReadUefTape(std::string_view bytes)
{
    TapeContents tape;
    Unpacked unpacked;
    if (IsGzip(bytes)) {
        Result<Unpacked> gunzipped = Gunzip(bytes);
        if (!gunzipped)
            return gunzipped.Error();
        unpacked = std::move(gunzipped).Value();
        bytes = unpacked.Bytes;
        tape.Compressed = true;
    }
    if (bytes.size() < kHeaderBytes)
        return Failure{"Too short for a UEF tape: " + std::to_string(bytes.size()) + " bytes", {}};
    if (bytes.substr(0, kMagic.size()) != kMagic)
        return Failure{"Not a UEF tape: it does not start with \"UEF File!\"", {}};
    tape.VersionMinor = Byte(bytes, 10);
    tape.VersionMajor = Byte(bytes, 11);
    TapeReader reader(tape);
    ReadChunks(bytes, reader);
    reader.Finish();
    // A cut compressed stream explains a cut tape best.
    if (!unpacked.Problem.empty())
        tape.Problem = unpacked.Problem;
    return tape;
}

} // namespace vorbix
