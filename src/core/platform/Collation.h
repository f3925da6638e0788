#pragma once
// The three ways the system compares names, as the user's locale and the ASCII upper-casing
// order them. Nothing else compares names.

#include <string>
#include <string_view>

struct UCollator;

namespace vorbix {

// The two locale-aware comparisons read a text that is valid UTF-8 as UTF-8 and any other
// as Windows-1252 (see TextCoding.h).
// Locale-aware and case-sensitive (a lower-case letter sorts before its capital).
int CompareText(std::string_view a, std::string_view b);
// Locale-aware, ignoring case, asked of the collator itself. Names are compared through
// CompareTextIgnoreCase (fastpath/CollationTable.h), which gives the same answer and asks
// this only for the texts its tables do not cover.
int CollateIgnoreCase(std::string_view a, std::string_view b);
// The same for two texts known to be valid UTF-8.
int CollateUtf8IgnoreCase(std::string_view a, std::string_view b);
// The collator CollateIgnoreCase asks on this thread (null when none could be opened), for
// the tables derived from it. An ICU collator serves one thread only.
const UCollator* IgnoreCaseCollator();

// The text as the program list's find compares it: every character case-folded, with its
// accents dropped where the user's locale's collator takes the accented letter for the
// plain one at primary strength (so "é" is "e" in English, while "ö" stays
// apart from "o" in Swedish), and characters that collator ignores (controls, combining
// marks) left out; as UTF-8. A text that is not valid UTF-8 is read as Windows-1252. One
// text contains another without regard to case or accents when its folded bytes contain
// the other's folded bytes. Never yields a zero byte.
std::string FoldForSearch(std::string_view text);
// The same, appended to out.
void AppendFoldedForSearch(std::string_view text, std::string& out);

// Plain byte comparison after mapping the ASCII letters a-z to A-Z.
int CompareAsciiUpper(std::string_view a, std::string_view b);

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
