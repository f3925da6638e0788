#pragma once
// Reading the little-endian numbers and the names of disc and tape catalogues. Every read
// is at a place the caller has checked lies inside the bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace vorbix::discs {

inline unsigned Byte(std::string_view bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]);
}

// A little-endian number of count bytes (at most 4).
inline unsigned LittleEndian(std::string_view bytes, std::size_t at, std::size_t count)
{
    unsigned value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | Byte(bytes, at + i);
    return value;
}

// A character of a catalogue name or title as it is shown. The top bit is taken away: DFS
// and ADFS keep flags there (locked, access rights), and the machine prints names without
// it. What is left of a control character (0-31, 127) is shown as '?', so that a name can
// never move the cursor, ring a bell or break a line of the listing.
inline char ShownChar(unsigned byte)
{
    const unsigned c = byte & 0x7FU;
    return c < 0x20U || c == 0x7FU ? '?' : static_cast<char>(c);
}

// A printable character once the top bit is gone.
inline bool IsPrintableName(unsigned byte)
{
    const unsigned c = byte & 0x7FU;
    return c >= 0x20U && c != 0x7FU;
}

// Upper-case hexadecimal with at least digits digits.
inline std::string Hex(unsigned value, int digits)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xFU]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}

// The text padded with spaces to width characters.
inline std::string Padded(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

} // namespace vorbix::discs
