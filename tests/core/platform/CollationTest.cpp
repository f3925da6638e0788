#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vorbix;

TEST(Collation, CaseSensitiveLocaleOrderPutsLowerCaseFirst)
{
    EXPECT_LT(CompareText("a", "A"), 0);
    EXPECT_LT(CompareText("A", "b"), 0);
    EXPECT_LT(CompareText("alpha", "Zeta"), 0);
    EXPECT_EQ(CompareText("Same", "Same"), 0);
    EXPECT_NE(CompareText("same", "Same"), 0);
    std::vector<std::string> names{"Zeta", "alpha", "Beta", "beta", "\xC3\xA9lan", "elan"};
    std::sort(names.begin(), names.end(), [](auto& a, auto& b) { return CompareText(a, b) < 0; });
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "beta", "Beta", "elan", "\xC3\xA9lan", "Zeta"}));
}

TEST(Collation, CaseInsensitiveLocaleOrder)
{
    EXPECT_EQ(CollateIgnoreCase("ACORNSOFT", "acornsoft"), 0);
    EXPECT_LT(CollateIgnoreCase("acornsoft", "Bug-Byte"), 0);
    EXPECT_EQ(CollateIgnoreCase("Elite", "ELITE"), 0);
    EXPECT_NE(CollateIgnoreCase("Elite", "Elites"), 0);
    // Invalid UTF-8 compares without failing.
    EXPECT_NE(CollateIgnoreCase("\xFF\xFE", "abc"), 2);
}

TEST(Collation, AsciiUpperCasingByteOrder)
{
    EXPECT_EQ(CompareAsciiUpper("elite", "ELITE"), 0);
    // '_' (95) lies between 'Z' (90) and 'a' (97): after upper-casing it sorts after letters.
    EXPECT_LT(CompareAsciiUpper("zebra", "_x"), 0);
    EXPECT_LT(CompareAsciiUpper("ab", "abc"), 0);
    EXPECT_GT(CompareAsciiUpper("\xC3\xA9", "Z"), 0);
    EXPECT_TRUE(SameAsciiIgnoreCase("BlueSky", "BLUESKY"));
    EXPECT_FALSE(SameAsciiIgnoreCase("\xC3\xA9", "\xC3\x89")); // only ASCII letters fold
}

TEST(Collation, TextWrittenOnWindowsComparesAsWindows1252)
{
    // Invalid as UTF-8, these are Windows-1252: "Café", "Cafè", "Éclair". Each is its own
    // name, and each sorts beside its unaccented neighbour, not after "zeta".
    // A literal split in two ends a hex escape before the letters that follow it.
    // NOLINTBEGIN(bugprone-suspicious-missing-comma)
    std::vector<std::string> names{"zeta", "Caf\xe9",
        "\xc9"
        "clair",
        "Caf\xe8", "eclair", "Cafe"};
    std::sort(names.begin(), names.end(), [](auto& a, auto& b) { return CompareText(a, b) < 0; });
    EXPECT_EQ(names,
        (std::vector<std::string>{"Cafe", "Caf\xe9", "Caf\xe8", "eclair",
            "\xc9"
            "clair",
            "zeta"}));
    // NOLINTEND(bugprone-suspicious-missing-comma)
    EXPECT_NE(CollateIgnoreCase("Caf\xe9", "Caf\xe8"), 0);
    EXPECT_NE(CollateIgnoreCase("\xc9"
                                "clair",
                  "\xff"
                  "clair"),
        0);
    // The same name in either encoding is the same name.
    EXPECT_EQ(CompareText("Caf\xe9", "Caf\xc3\xa9"), 0);
    EXPECT_EQ(CollateIgnoreCase("\xc9"
                                "CLAIR",
                  "\xc3\xa9"
                  "clair"),
        0);
    // Past the first eight bytes too (the validity check runs eight ASCII bytes at a time).
    EXPECT_NE(CollateIgnoreCase("Acornsoft Caf\xe9", "Acornsoft Caf\xe8"), 0);
    EXPECT_EQ(CollateIgnoreCase("Acornsoft Caf\xe9 Ltd", "ACORNSOFT CAF\xc3\x89 LTD"), 0);
}
