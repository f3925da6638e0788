#pragma once
// The case-insensitive comparison of the user's locale (platform/Collation.h), answered from
// tables of the collator's own weights where they give the collator's answer: sorting a
// catalogue compares each name many times, and a lookup in a table costs far less than a
// call to the collator. A text the tables do not cover goes to the collator.

#include <cstdint>
#include <string_view>

namespace vorbix {

// Locale-aware, ignoring case: CollateIgnoreCase of the two texts.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);
bool SameTextIgnoreCase(std::string_view a, std::string_view b);

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

} // namespace vorbix
