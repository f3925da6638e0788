#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
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

TEST(Collation, FoldForSearchDropsCaseAndAccentsAsTheLocaleDoes)
{
    // NOLINTBEGIN(bugprone-suspicious-missing-comma)
    const std::string elite = "\xc3\x89lite Caf\xc3\xa9"; // "Élite Café" in UTF-8
    EXPECT_EQ(FoldForSearch(elite), "elite cafe");
    EXPECT_EQ(FoldForSearch("\xc9lite Caf\xe9"), "elite cafe"); // the same, written on Windows
    EXPECT_EQ(FoldForSearch("E\xcc\x81LITE"), "elite"); // a combining accent after the letter
    EXPECT_EQ(FoldForSearch("Manic MINER"), "manic miner");
    // Controls and zero bytes are left out, so a zero byte can separate folded texts.
    EXPECT_EQ(FoldForSearch(std::string("a\0b\x01"
                                        "c",
                  5)),
        "abc");
    // A truncated UTF-8 sequence makes the whole text Windows-1252: "\xc3" is "Ã".
    EXPECT_EQ(FoldForSearch("Caf\xc3"), "cafa");
    std::string appended = "x";
    AppendFoldedForSearch("\xc3\x9c"
                          "BER",
        appended);
    EXPECT_EQ(appended, "xuber");
    // NOLINTEND(bugprone-suspicious-missing-comma)

    // In Swedish "ö" is a letter of its own, not an "o" with an accent; "é" is still an "e".
    const char* const before = std::getenv("LC_ALL");
    const std::string kept = before != nullptr ? before : "";
    ::setenv("LC_ALL", "sv_SE", 1);
    std::string swedishO;
    std::string swedishE;
    // A new thread opens the collators for the locale now set.
    std::thread([&] {
        swedishO = FoldForSearch("\xc3\x96verlord"); // "Överlord"
        swedishE = FoldForSearch("\xc3\x89lite");
    }).join();
    if (before != nullptr)
        ::setenv("LC_ALL", kept.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
    EXPECT_EQ(swedishO, "\xc3\xb6verlord");
    EXPECT_EQ(swedishE, "elite");
    EXPECT_EQ(FoldForSearch("\xc3\x96verlord"), "overlord"); // this thread's locale, not Swedish
}
