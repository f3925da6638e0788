#include "platform/Collation.h"

#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
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
    EXPECT_EQ(CompareTextIgnoreCase("ACORNSOFT", "acornsoft"), 0);
    EXPECT_LT(CompareTextIgnoreCase("acornsoft", "Bug-Byte"), 0);
    EXPECT_TRUE(SameTextIgnoreCase("Elite", "ELITE"));
    EXPECT_FALSE(SameTextIgnoreCase("Elite", "Elites"));
    // Invalid UTF-8 compares without failing.
    EXPECT_NE(CompareTextIgnoreCase("\xFF\xFE", "abc"), 2);
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
    EXPECT_NE(CompareTextIgnoreCase("Caf\xe9", "Caf\xe8"), 0);
    EXPECT_FALSE(SameTextIgnoreCase("\xc9"
                                    "clair",
        "\xff"
        "clair"));
    // The same name in either encoding is the same name.
    EXPECT_EQ(CompareText("Caf\xe9", "Caf\xc3\xa9"), 0);
    EXPECT_TRUE(SameTextIgnoreCase("\xc9"
                                   "CLAIR",
        "\xc3\xa9"
        "clair"));
    // Past the first eight bytes too (the validity check runs eight ASCII bytes at a time).
    EXPECT_NE(CompareTextIgnoreCase("Acornsoft Caf\xe9", "Acornsoft Caf\xe8"), 0);
    EXPECT_EQ(CompareTextIgnoreCase("Acornsoft Caf\xe9 Ltd", "ACORNSOFT CAF\xc3\x89 LTD"), 0);
}

// ASCII texts take a table of the collator's weights instead of the collator; in every
// locale, with and without contractions such as the Czech "ch" or the Danish "aa", the
// order must stay the collator's own.
TEST(Collation, AsciiTextsCompareAsTheLocaleCollatorDoes)
{
    const char alphabet[] = "aAbBcChHiIsSyYzZlLwWvV 0129-.,'#&_\t\x01\x7f";
    const char* pieces[] = {"ch", "CH", "aa", "cs", "ll", "dz", "ij", "", " ", "a-b", "a b"};
    std::vector<std::string> texts;
    unsigned state = 7;
    auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 8; };
    for (int i = 0; i < 3000; ++i) {
        std::string t = i % 3 == 0 ? "Shared prefix " : "";
        for (unsigned n = next() % 7; n > 0; --n)
            t += next() % 3 == 0 ? std::string(pieces[next() % std::size(pieces)])
                                 : std::string(1, alphabet[next() % (sizeof alphabet - 1)]);
        texts.push_back(t);
    }
    const char* locales[] = {"C", "en_US", "tr_TR", "da_DK", "cs_CZ", "sv_SE", "lt_LT", "hu_HU", "es_ES", "fr_CA",
        "de_DE", "et_EE", "ja_JP", "th_TH"};
    for (const char* locale : locales) {
        ::setenv("LC_ALL", locale, 1);
        int mismatches = 0;
        // A new thread opens the collators for the locale now set.
        std::thread([&] {
            UErrorCode status = U_ZERO_ERROR;
            UCollator* reference = ucol_open(std::string(locale) == "C" ? "" : locale, &status);
            ASSERT_TRUE(U_SUCCESS(status));
            ucol_setStrength(reference, UCOL_SECONDARY);
            for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
                const std::string& a = texts[i];
                const std::string& b = texts[(i * 7919 + 1) % texts.size()];
                status = U_ZERO_ERROR;
                const int expected = ucol_strcollUTF8(reference, a.data(), static_cast<int32_t>(a.size()), b.data(),
                    static_cast<int32_t>(b.size()), &status);
                const int got = CompareTextIgnoreCase(a, b);
                if ((got > 0) - (got < 0) != expected && ++mismatches < 4)
                    ADD_FAILURE() << locale << ": \"" << a << "\" vs \"" << b << "\"";
            }
            ucol_close(reference);
        }).join();
        EXPECT_EQ(mismatches, 0) << locale;
    }
    ::unsetenv("LC_ALL");
}
