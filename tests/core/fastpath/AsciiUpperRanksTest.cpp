#include "fastpath/AsciiUpperRanks.h"
#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace vorbix;

namespace {

// The plain ranks: the distinct texts (as CompareAsciiUpper tells them apart) sorted, and
// each text's place among them.
std::vector<std::uint32_t> PlainRanks(const std::vector<std::string_view>& texts)
{
    const auto less = [](std::string_view a, std::string_view b) { return CompareAsciiUpper(a, b) < 0; };
    std::vector<std::string_view> distinct = texts;
    std::sort(distinct.begin(), distinct.end(), less);
    distinct.erase(std::unique(distinct.begin(), distinct.end(),
                       [](std::string_view a, std::string_view b) { return CompareAsciiUpper(a, b) == 0; }),
        distinct.end());
    std::vector<std::uint32_t> ranks;
    ranks.reserve(texts.size());
    for (const std::string_view text : texts)
        ranks.push_back(static_cast<std::uint32_t>(
            std::lower_bound(distinct.begin(), distinct.end(), text, less) - distinct.begin()));
    return ranks;
}

} // namespace

// The ranks that the word-at-a-time keys and the table of classes give, against the plain
// ones: texts of 0 to 40 bytes (across the 8-byte words and the 24-byte key) that differ
// at their last byte or only in case, one a prefix of another, bytes around the letters
// ('@', '[', '`', '{') and above 0x7F, and lists of none and one.
TEST(AsciiUpperRanks, AgreeWithPlainRanks)
{
    EXPECT_TRUE(AsciiUpperRanks({}).empty());
    EXPECT_EQ(AsciiUpperRanks({"only"}), std::vector<std::uint32_t>{0});
    std::vector<std::string> texts;
    for (std::size_t n = 0; n <= 40; ++n) {
        const std::string base(n, 'm');
        texts.push_back(base);
        texts.emplace_back(n, 'M');
        for (const char last : {'a', 'Z', 'z', '@', '[', '`', '{', '\x7f', '\x80', '\xe9', '\xc9', '_'}) {
            if (n == 0)
                continue;
            std::string t = base;
            t[n - 1] = last;
            texts.push_back(t);
            t[0] = static_cast<char>(n % 2 == 0 ? 'A' : 'a');
            texts.push_back(t);
        }
    }
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    EXPECT_EQ(AsciiUpperRanks(views), PlainRanks(views));
}
