#include "fastpath/CollationTable.h"
#include "fastpath/PrefixSort.h"
#include "platform/TextCoding.h"

#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace vorbix;

// ASCII texts take a table of the collator's weights instead of the collator, and so do
// texts of Latin-1 characters and the Windows-1252 extras (in UTF-8 or as Windows-1252
// bytes); in every locale, with and without contractions such as the Czech "ch", the Danish
// "aa" or "l·", with backwards accents (fr_CA) or reordered scripts (ja_JP), the order must
// stay the collator's own, read as the comparisons read a text.
TEST(CollationTable, AsciiAndLatinTextsCompareAsTheLocaleCollatorDoes)
{
    const char alphabet[] = "aAbBcChHiIsSyYzZlLwWvV 0129-.,'#&_\t\x01\x7f";
    const char* pieces[] = {"ch", "CH", "aa", "cs", "ll", "dz", "ij", "", " ", "a-b", "a b"};
    // UTF-8: é É è ñ Ñ ü ß æ Æ ø å ç · soft hyphen, no-break space, "l·l", and three
    // characters past the table: € Š ā.
    const char* utf8Pieces[] = {"\xc3\xa9", "\xc3\x89", "\xc3\xa8", "\xc3\xb1", "\xc3\x91", "\xc3\xbc", "\xc3\x9f",
        "\xc3\xa6", "\xc3\x86", "\xc3\xb8", "\xc3\xa5", "\xc3\xa7", "\xc2\xb7", "\xc2\xad", "\xc2\xa0", "l\xc2\xb7l",
        "ss", "ae", "e", "E", "n", "u", "o", "\xe2\x82\xac", "\xc5\xa0", "\xc4\x81"};
    // Windows-1252: the same letters, € Š œ ‚ ™ Ÿ, the five undefined bytes, and a lone
    // 0xC3 (the lead byte of UTF-8 "é" but "Ã" here).
    const char* windowsPieces[] = {"\xe9", "\xc9", "\xe8", "\xf1", "\xd1", "\xfc", "\xdf", "\xe6", "\xc6", "\xf8",
        "\xe5", "\xe7", "\xb7", "\xad", "\xa0", "\x80", "\x8a", "\x9c", "\x82", "\x99", "\x9f", "\x81", "\x8d", "\x8f",
        "\x90", "\x9d", "\xc3", "oe", "S"};
    // Names that differ in accents alone, in several places (where backwards accents decide),
    // in both encodings; each is compared with every other.
    // A literal split in two ends a hex escape before the letters that follow it.
    // NOLINTBEGIN(bugprone-suspicious-missing-comma)
    std::vector<std::string> texts{"cote", "c\xc3\xb4te", "cot\xc3\xa9", "c\xc3\xb4t\xc3\xa9", "c\xf4te", "cot\xe9",
        "c\xf4t\xe9", "COTE", "C\xd4T\xc9",
        "Stra\xc3\x9f"
        "e",
        "Strasse",
        "Stra\xdf"
        "e",
        "\xc3\x86"
        "ble",
        "aeble",
        "\xc6"
        "ble",
        "Al\xc2\xb7la", "Alla", "Chata", "Cukr", "hrad", "\xc3\x89lite", "elite", "\xc9LITE",
        "\x8a"
        "koda",
        "Skoda",
        "\x9c"
        "uvre",
        "oeuvre"};
    // NOLINTEND(bugprone-suspicious-missing-comma)
    const std::size_t named = texts.size();
    unsigned state = 7;
    auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 8; };
    for (int i = 0; i < 3000; ++i) {
        std::string t = i % 3 == 0 ? "Shared prefix " : "";
        for (unsigned n = next() % 7; n > 0; --n)
            t += next() % 3 == 0 ? std::string(pieces[next() % std::size(pieces)])
                                 : std::string(1, alphabet[next() % (sizeof alphabet - 1)]);
        texts.push_back(t);
    }
    for (int i = 0; i < 4000; ++i) {
        const bool windows = i % 3 == 2;
        std::string t = i % 4 != 0 ? "" : (windows ? "\xc9lite Caf\xe9 " : "\xc3\x89lite Caf\xc3\xa9 ");
        for (unsigned n = next() % 8; n > 0; --n) {
            const unsigned pick = next() % 4;
            if (pick == 0)
                t += alphabet[next() % (sizeof alphabet - 1)];
            else if (pick == 1)
                t += pieces[next() % std::size(pieces)];
            else
                t += windows ? windowsPieces[next() % std::size(windowsPieces)]
                             : utf8Pieces[next() % std::size(utf8Pieces)];
        }
        texts.push_back(t);
    }
    const char* locales[] = {"C", "en_US", "tr_TR", "da_DK", "cs_CZ", "sv_SE", "lt_LT", "hu_HU", "es_ES", "fr_CA",
        "de_DE", "et_EE", "ja_JP", "th_TH"};
    for (const char* locale : locales) {
        ::setenv("LC_ALL", locale, 1);
        int mismatches = 0;
        int latinTexts = 0;
        int decidedByPrefix = 0;
        // A new thread opens the collators for the locale now set.
        std::thread([&] {
            UErrorCode status = U_ZERO_ERROR;
            UCollator* reference = ucol_open(std::string(locale) == "C" ? "" : locale, &status);
            ASSERT_TRUE(U_SUCCESS(status));
            ucol_setStrength(reference, UCOL_SECONDARY);
            std::vector<PreparedText> prepared;
            for (const std::string& t : texts) {
                prepared.push_back(PrepareText(t));
                latinTexts += !prepared.back().ascii && prepared.back().latin;
            }
            std::vector<std::pair<std::size_t, std::size_t>> pairs;
            for (std::size_t i = 0; i < named; ++i)
                for (std::size_t k = 0; k < named; ++k)
                    pairs.emplace_back(i, k);
            for (std::size_t i = 0; i + 1 < texts.size(); ++i)
                pairs.emplace_back(i, (i * 7919 + 1) % texts.size());
            for (const auto& [i, k] : pairs) {
                const std::string a = ReadableUtf8(texts[i]);
                const std::string b = ReadableUtf8(texts[k]);
                status = U_ZERO_ERROR;
                const int expected = ucol_strcollUTF8(reference, a.data(), static_cast<int32_t>(a.size()), b.data(),
                    static_cast<int32_t>(b.size()), &status);
                const int got = CompareTextIgnoreCase(texts[i], texts[k]);
                const int prepared1 = ComparePreparedIgnoreCase(prepared[i], prepared[k]);
                const int prepared2 = ComparePreparedIgnoreCase(prepared[k], prepared[i]);
                // Sort prefixes that differ must order the texts as the collator does.
                const int byPrefix = ComparePrefixes(SortPrefixOf(prepared[i]), SortPrefixOf(prepared[k]));
                decidedByPrefix += byPrefix != 0;
                auto sign = [](int r) { return (r > 0) - (r < 0); };
                if ((sign(got) != expected || sign(prepared1) != expected || sign(prepared2) != -expected
                        || (byPrefix != 0 && byPrefix != expected))
                    && ++mismatches < 4)
                    ADD_FAILURE() << locale << ": \"" << a << "\" vs \"" << b << "\": ICU " << expected << ", got "
                                  << got << " " << prepared1 << " " << -prepared2 << " " << byPrefix;
            }
            ucol_close(reference);
            // Which texts the table serves. "€" in UTF-8 lies past it; in root and its
            // followers "l·" is a contraction, so "·" is left out.
            if (std::string(locale) == "en_US") {
                EXPECT_TRUE(PrepareText("\xc3\x89lite Caf\xc3\xa9 \xc3\x91"
                                        "and\xc3\xba \xc2\xa0\xc2\xad\xc3\x9f")
                                .latin);
                EXPECT_TRUE(PrepareText("\xc9lite \x80\x8a\x9c\x81\x8d\x8f\x90\x9d\xc3").latin);
                EXPECT_FALSE(PrepareText("5 \xe2\x82\xac").latin);
                EXPECT_FALSE(PrepareText("l\xc2\xb7l").latin);
                EXPECT_FALSE(PrepareText("l\xb7l").latin);
            }
            // Backwards accents (fr_CA), shifted punctuation (th_TH) and reordered scripts
            // (ja_JP) leave every text to the collator.
            if (std::string(locale) == "fr_CA" || std::string(locale) == "th_TH" || std::string(locale) == "ja_JP")
                EXPECT_EQ(latinTexts, 0) << locale;
            else {
                EXPECT_GT(latinTexts, 0) << locale;
                EXPECT_GT(decidedByPrefix, static_cast<int>(pairs.size() / 10)) << locale;
            }
        }).join();
        EXPECT_EQ(mismatches, 0) << locale;
    }
    ::unsetenv("LC_ALL");
}

// The sort by prefixes against the plain stable sort by the same comparison: items that
// share their first 15 characters (and so their prefixes), names equal but for case (whose
// first order must stay), texts of every kind mixed (whose prefixes say nothing), and
// lists of none, one and two items.
TEST(PrefixSort, OrdersAsAPlainStableSortDoes)
{
    using Item = std::pair<std::string, std::size_t>; // a text and its first place
    const auto less = [](const Item& a, const Item& b) { return CompareTextIgnoreCase(a.first, b.first) < 0; };
    const auto prefixOf = [](const Item& item) { return SortPrefixOf(PrepareText(item.first)); };
    const char* ascii[] = {"Shared prefix of 15+ b", "Shared prefix of 15+ a", "shared PREFIX of 15+ a", "Elite",
        "ELITE", "elite", "Zeta", "a", "", "A", "Acornsoft", "acornsoft-", "Bug-Byte", "bug byte",
        "Shared prefix of 15+"};
    // None of these is ASCII alone: a list of one kind.
    const char* latin[] = {"\xc3\x89lite", "\xc9lite", "Caf\xc3\xa9", "Caf\xe9", "CAF\xc3\x89",
        "Stra\xc3\x9f"
        "e",
        "Stra\xdf"
        "e",
        "\xc3\xa9", "\xe9"};
    const char* others[] = {"5 \xe2\x82\xac", "\xc5\xa0koda", "\xd0\x90"};
    auto listOf = [](std::initializer_list<const char*> texts) {
        std::vector<Item> list;
        for (const char* t : texts)
            list.emplace_back(t, list.size());
        return list;
    };
    std::vector<std::vector<Item>> cases;
    cases.emplace_back();
    cases.push_back(listOf({"only"}));
    cases.push_back(listOf({"b", "B"}));
    cases.push_back(listOf({"b", "a"}));
    std::vector<Item> allAscii;
    std::vector<Item> allLatin;
    std::vector<Item> mixed;
    for (std::size_t r = 0; r < 3; ++r) {
        for (const char* t : ascii) {
            allAscii.emplace_back(t, allAscii.size());
            mixed.emplace_back(t, mixed.size());
        }
        for (const char* t : latin) {
            allLatin.emplace_back(t, allLatin.size());
            mixed.emplace_back(t, mixed.size());
        }
        for (const char* t : others)
            mixed.emplace_back(t, mixed.size());
    }
    // Lists of one kind go through the prefixes, which here decide between most names.
    ASSERT_LT(ComparePrefixes(prefixOf(allAscii[3]), prefixOf(allAscii[6])), 0);
    ASSERT_GT(ComparePrefixes(prefixOf(allLatin[0]), prefixOf(allLatin[2])), 0);
    cases.push_back(allAscii);
    cases.push_back(allLatin);
    cases.push_back(mixed);
    for (const std::vector<Item>& list : cases) {
        std::vector<Item> expected = list;
        std::stable_sort(expected.begin(), expected.end(), less);
        std::vector<Item> sorted = list;
        StableSortByPrefix(sorted.begin(), sorted.end(), prefixOf, less);
        EXPECT_EQ(sorted, expected) << list.size() << " items";
    }
}
