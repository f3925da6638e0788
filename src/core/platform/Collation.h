#pragma once
// The three ways the system compares names. Nothing else compares names.

#include <cstdint>
#include <string>
#include <string_view>

namespace vorbix {

// The two locale-aware comparisons read a text that is valid UTF-8 as UTF-8 and any other
// as Windows-1252 (see TextCoding.h).
// Locale-aware and case-sensitive (a lower-case letter sorts before its capital).
int CompareText(std::string_view a, std::string_view b);
// Locale-aware, ignoring case.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);
// A text checked once for what it holds, for sorts that compare each text many times.
struct PreparedText {
    std::string_view text;
    bool ascii = true; // ASCII only
    bool utf8 = true; // valid UTF-8 (else Windows-1252)
    // Every character one that the case-insensitive comparison finds in its table of Latin
    // characters (Latin-1 and the Windows-1252 extras, as the user's locale collates them),
    // so two such texts compare without the collator. False when the locale has no such table.
    bool latin = false;
};
PreparedText PrepareText(std::string_view text);
// CompareTextIgnoreCase of the two texts.
int ComparePreparedIgnoreCase(const PreparedText& a, const PreparedText& b);
// Whether ComparePreparedIgnoreCase compares this text with any other text of the same
// kind (ASCII, or in the Latin table) through a table rather than the collator.
bool ComparedByTable(const PreparedText& text);
// The first primary weights of a prepared text, for sorts whose texts lie far apart in
// memory: two prefixes that differ decide the case-insensitive comparison without either
// text being read again. A prefix holds the ranks of the first 15 characters of an ASCII
// text, or the first 15 primary weight bytes of a Latin one (see PreparedText::latin), in
// order, and in its lowest byte which of the two it holds (0 for neither: a text only the
// collator compares).
struct SortPrefix {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
};
SortPrefix SortPrefixOf(const PreparedText& text);
// The sign of ComparePreparedIgnoreCase of the two texts when their prefixes decide it,
// else 0 (equal prefixes, or prefixes of different kinds).
inline int ComparePrefixes(const SortPrefix& a, const SortPrefix& b)
{
    const std::uint64_t kind = a.low & 0xFF;
    if (kind == 0 || kind != (b.low & 0xFF))
        return 0;
    if (a.high != b.high)
        return a.high < b.high ? -1 : 1;
    return a.low == b.low ? 0 : (a.low < b.low ? -1 : 1);
}

// Plain byte comparison after mapping the ASCII letters a-z to A-Z.
int CompareAsciiUpper(std::string_view a, std::string_view b);

bool SameTextIgnoreCase(std::string_view a, std::string_view b);
bool SameAsciiIgnoreCase(std::string_view a, std::string_view b);

// The ASCII upper-casing itself: a-z become A-Z, every other byte stays (so text in any
// code page keeps its other characters).
constexpr char AsciiUpperChar(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string AsciiUpperText(std::string_view text);
// The other way round, A-Z to a-z (the emulator editor's captions from the image masks).
std::string AsciiLowerText(std::string_view text);

} // namespace vorbix
