#include "fastpath/ByteScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

using namespace vorbix;

namespace {

// The plain loops the scans must agree with.

std::size_t PlainFindAnyOf(std::string_view text, std::size_t from, std::string_view chars)
{
    while (from < text.size() && chars.find(text[from]) == std::string_view::npos)
        ++from;
    return from;
}

std::size_t PlainCountOf(std::string_view text, char c)
{
    std::size_t count = 0;
    for (const char b : text)
        count += b == c ? 1 : 0;
    return count;
}

std::size_t PlainSkipTrimmed(std::string_view text, std::size_t from)
{
    while (from < text.size() && static_cast<unsigned char>(text[from]) <= 32)
        ++from;
    return from;
}

bool PlainIsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::size_t PlainSharedPrefixLength(std::string_view a, std::string_view b)
{
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

// Filler that holds none of the characters searched for, but bytes that differ from them
// only in the top bit ('<' | 0x80 is 0xBC, '&' | 0x80 is 0xA6) and other non-ASCII bytes.
constexpr std::string_view kFiller = "ab\xbc\xa6\x80\xff\x8d\x8a z\x7f\xc3\xa9";

std::string Filler(std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; i < size; ++i)
        text += kFiller[i % kFiller.size()];
    return text;
}

} // namespace

// The searches, each against its plain loop: texts of 0 to 70 bytes (across one, two, three
// and four blocks of sixteen and the overlapping tail), one match at every place (the last
// byte included) or none, searched from every place. A second match behind the first
// checks that the first is found.
TEST(ByteScan, SearchesAgreeWithPlainLoops)
{
    constexpr std::string_view kMarkup = "<&\r\n";
    for (std::size_t size = 0; size <= 70; ++size) {
        for (std::size_t at = 0; at <= size; ++at) {
            std::string text = Filler(size);
            if (at < size)
                text[at] = kMarkup[at % kMarkup.size()];
            if (at + 5 < size)
                text[at + 5] = '<';
            ASSERT_EQ(CountOf(text, '<'), PlainCountOf(text, '<')) << size << " " << at;
            ASSERT_EQ(CountOf(text, '\xbc'), PlainCountOf(text, '\xbc')) << size << " " << at;
            for (std::size_t from = 0; from <= size; ++from) {
                ASSERT_EQ((FindAnyOf<'<', '&', '\r', '\n'>(text, from)), PlainFindAnyOf(text, from, kMarkup))
                    << size << " " << at << " " << from;
                ASSERT_EQ(FindAnyOf<'<'>(text, from), PlainFindAnyOf(text, from, "<"))
                    << size << " " << at << " " << from;
                ASSERT_EQ((FindAnyOf<'>', '<'>(text, from)), PlainFindAnyOf(text, from, "><"))
                    << size << " " << at << " " << from;
            }
        }
    }
    // The skip: a byte above 32 (ASCII or not) at every place of a run of white space and
    // control characters.
    for (std::size_t size = 0; size <= 70; ++size) {
        for (std::size_t at = 0; at <= size; ++at) {
            std::string run;
            for (std::size_t i = 0; i < size; ++i)
                run += "\x01 \t\r\n\x1f \x00"[i % 8];
            if (at < size)
                run[at] = "!\xa0\x80\xff"[at % 4];
            for (std::size_t from = 0; from <= size; ++from)
                ASSERT_EQ(SkipTrimmed(run, from), PlainSkipTrimmed(run, from)) << size << " " << at << " " << from;
        }
    }
    // The search for a whole needle: a needle at every place of texts up to three blocks
    // long, beside near misses (the first and last bytes right, a middle one wrong) and a
    // second copy close behind or further on, from every starting place.
    for (const std::string_view needle :
        {std::string_view("<>"), std::string_view("<b>"), std::string_view("<program>")}) {
        std::string miss(needle);
        if (miss.size() > 2)
            miss[miss.size() / 2] = 'X';
        for (std::size_t size = 0; size <= 50; ++size) {
            for (std::size_t at = 0; at <= size; ++at) {
                std::string text(size, 'a');
                text.replace(std::min(at, size), 0, at % 2 == 0 ? std::string(needle) : miss);
                const std::size_t second = at + (size % 2 == 0 ? needle.size() : 20);
                if (second < text.size())
                    text.replace(second, needle.size(), needle);
                for (std::size_t from = 0; from <= text.size(); ++from) {
                    const std::size_t expected = std::string_view(text).find(needle, from);
                    ASSERT_EQ(FindText(text, needle, from), expected == std::string_view::npos ? text.size() : expected)
                        << text << " from " << from;
                }
            }
        }
    }
}

// The comparisons and the check for ASCII, each against its plain loop: texts of 0 to 70
// bytes that differ at every place (the last byte included), by a byte above 0x7F too.
TEST(ByteScan, ComparisonsAgreeWithPlainLoops)
{
    for (std::size_t n = 0; n <= 70; ++n) {
        const std::string a(n, 'q');
        ASSERT_TRUE(PlainIsAscii(a) && IsAscii(a)) << n;
        ASSERT_EQ(SharedPrefixLength(a, a), n);
        ASSERT_EQ(SharedPrefixLength(a, a.substr(0, n / 2)), n / 2);
        ASSERT_TRUE(SameBytes(a.data(), std::string(a).data(), n));
        for (std::size_t at = 0; at < n; ++at) {
            for (const char other : {'r', '\xf1', '\x80'}) {
                std::string b = a;
                b[at] = other;
                ASSERT_EQ(IsAscii(b), PlainIsAscii(b)) << n << " " << at;
                ASSERT_EQ(SharedPrefixLength(a, b), PlainSharedPrefixLength(a, b)) << n << " " << at;
                ASSERT_EQ(SharedPrefixLength(b, a.substr(0, at + 1)), PlainSharedPrefixLength(b, a.substr(0, at + 1)))
                    << n << " " << at;
                ASSERT_FALSE(SameBytes(a.data(), b.data(), n)) << n << " " << at;
            }
        }
    }
}
