#include "fastpath/CollationTable.h"

#include "fastpath/ByteScan.h"
#include "platform/Collation.h"
#include "platform/TextCoding.h"

#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uset.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace vorbix {

namespace {

// The case-insensitive collation of texts made only of ASCII characters, as a table: for
// most locales each ASCII character is one collation element whose secondary weight is
// the common one, so two such texts compare as the sequences of their characters'
// primary weights, with the ignorable characters (rank 0) left out. The table holds the
// order of those weights. It is used only when the collator is checked to work that way
// for every ASCII character: no contraction or expansion among them (the Czech "ch", the
// Danish "aa"), no shifted punctuation, no numeric ordering, no case level.
struct AsciiRanks {
    bool usable = false;
    std::array<unsigned char, 128> rank{};
};

struct SetCloser {
    void operator()(USet* set) const { uset_close(set); }
};
using SetPtr = std::unique_ptr<USet, SetCloser>;

// The collator's contractions, each prefix mapping among them as its prefix followed by its
// character; null when ICU cannot list them. Listing them costs a few milliseconds, so the
// tables below share one list.
SetPtr Contractions(const UCollator* collator)
{
    if (collator == nullptr)
        return nullptr;
    SetPtr contractions(uset_openEmpty());
    UErrorCode status = U_ZERO_ERROR;
    ucol_getContractionsAndExpansions(collator, contractions.get(), nullptr, true, &status);
    if (U_FAILURE(status))
        return nullptr;
    return contractions;
}

// Calls visit(text, length) for each string of the set; false when one cannot be read.
template <typename Visit>
bool ForEachString(const USet* set, Visit visit)
{
    UChar text[64];
    for (int32_t i = 0, n = uset_getItemCount(set); i < n; ++i) {
        UChar32 start = 0;
        UChar32 end = 0;
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = uset_getItem(set, i, &start, &end, text, 64, &status);
        if (U_FAILURE(status))
            return false;
        if (length > 0)
            visit(static_cast<const UChar*>(text), length);
    }
    return true;
}

// No contraction made of ASCII characters alone. (An ASCII character that expands is
// refused where its collation elements are read.)
bool AsciiAloneInContractions(const USet* contractions)
{
    bool clean = true;
    const bool listed = ForEachString(contractions, [&clean](const UChar* text, int32_t length) {
        clean = clean && !std::all_of(text, text + length, [](UChar c) { return c < 0x80; });
    });
    return listed && clean;
}

// What both tables need of the collator: punctuation weighed like letters, no numeric
// ordering, no case level.
bool WeighsCharacterByCharacter(const UCollator* collator)
{
    UErrorCode status = U_ZERO_ERROR;
    return ucol_getAttribute(collator, UCOL_ALTERNATE_HANDLING, &status) == UCOL_NON_IGNORABLE
        && ucol_getAttribute(collator, UCOL_NUMERIC_COLLATION, &status) == UCOL_OFF
        && ucol_getAttribute(collator, UCOL_CASE_LEVEL, &status) == UCOL_OFF && U_SUCCESS(status);
}

AsciiRanks MakeAsciiRanks(const UCollator* collator, const USet* contractions)
{
    AsciiRanks ranks;
    if (collator == nullptr || contractions == nullptr)
        return ranks;
    UErrorCode status = U_ZERO_ERROR;
    if (!WeighsCharacterByCharacter(collator) || !AsciiAloneInContractions(contractions))
        return ranks;
    // Each character's one collation element: its primary weight, or none when ignorable.
    std::array<int32_t, 128> primary{};
    int32_t commonSecondary = -1;
    for (UChar c = 0; c < 0x80; ++c) {
        status = U_ZERO_ERROR;
        UCollationElements* elements = ucol_openElements(collator, &c, 1, &status);
        if (U_FAILURE(status))
            return ranks;
        std::vector<int32_t> found;
        for (int32_t e = ucol_next(elements, &status); U_SUCCESS(status) && e != UCOL_NULLORDER;
             e = ucol_next(elements, &status))
            if (e != 0)
                found.push_back(e);
        ucol_closeElements(elements);
        if (U_FAILURE(status) || found.size() > 1)
            return ranks;
        if (found.empty())
            continue; // completely ignorable
        const int32_t p = ucol_primaryOrder(found[0]);
        const int32_t secondary = ucol_secondaryOrder(found[0]);
        if (p == 0 || (commonSecondary >= 0 && secondary != commonSecondary))
            return ranks;
        commonSecondary = secondary;
        primary[c] = p;
    }
    std::vector<int32_t> weights(primary.begin(), primary.end());
    std::sort(weights.begin(), weights.end());
    weights.erase(std::unique(weights.begin(), weights.end()), weights.end());
    if (weights.size() > 255)
        return ranks;
    for (std::size_t c = 0; c < 0x80; ++c)
        ranks.rank[c] = primary[c] == 0
            ? 0
            : static_cast<unsigned char>(std::lower_bound(weights.begin(), weights.end(), primary[c]) - weights.begin()
                + (weights.front() == 0 ? 0 : 1));
    ranks.usable = true;
    return ranks;
}

// The case-insensitive collation of texts made only of Latin-1 characters (U+0000 to
// U+00FF) and the characters Windows-1252 puts at 0x80 to 0x9F, as a table. Without
// contractions each character maps to its own collation elements whatever stands beside
// it, and at secondary strength ICU orders two texts as their sort keys do: first by the
// primary weight bytes of all their elements one after another (a proper prefix first),
// then, when those are equal, by the secondary weight bytes the same way. The table holds
// each character's two byte sequences. The table serves only a collator that works that
// way: non-ignorable punctuation, no numeric ordering, no case level, no backwards
// (French) secondaries, and no reordering of scripts (ucol_next gives the weights before
// any reordering, which the collator applies when it compares). A character that ends a
// contraction (or a prefix mapping) made only of such characters, like the "h" of the
// Czech "ch" or the "·" of "l·", is left out: a text holding it goes to the collator.
constexpr std::size_t kLatinCharacters = 256 + 32; // U+0000-U+00FF, then the bytes 0x80-0x9F

struct LatinWeights {
    std::uint8_t primaryLength = 0;
    std::uint8_t secondaryLength = 0;
    std::array<std::uint8_t, 14> primary{};
    std::array<std::uint8_t, 8> secondary{};
};

struct LatinTable {
    bool usable = false;
    bool asciiCovered = false; // every ASCII character in the table
    std::array<LatinWeights, kLatinCharacters> weights{};
    std::array<bool, kLatinCharacters> covered{};
};

char16_t LatinCharacter(std::size_t index)
{
    return index < 256 ? static_cast<char16_t>(index) : Windows1252Character(static_cast<unsigned char>(index - 128));
}

// The table index of the character that starts at text[i], moving i past it. A UTF-8 text
// here holds only one- and two-byte characters (C2 and C3 lead bytes); a Windows-1252 text
// has one character per byte.
inline std::size_t NextLatinIndex(std::string_view text, bool utf8, std::size_t& i)
{
    const auto b = static_cast<unsigned char>(text[i++]);
    if (b < 0x80)
        return b;
    if (utf8) {
        const unsigned trail = i < text.size() ? static_cast<unsigned char>(text[i++]) : 0x80U;
        return static_cast<std::size_t>(((b & 0x03U) << 6) | (trail & 0x3FU));
    }
    return b < 0xA0 ? std::size_t{256} + (b - 0x80U) : b;
}

// The weight bytes of one character's collation elements; false when they do not fit.
bool ReadLatinWeights(const UCollator* collator, char16_t c, LatinWeights& weights)
{
    UErrorCode status = U_ZERO_ERROR;
    const UChar text = c;
    UCollationElements* elements = ucol_openElements(collator, &text, 1, &status);
    if (U_FAILURE(status))
        return false;
    bool fits = true;
    auto add = [&fits](std::uint8_t byte, auto& bytes, std::uint8_t& length) {
        if (byte == 0)
            return;
        if (length == bytes.size())
            fits = false;
        else
            bytes[length++] = byte;
    };
    // Each 32-bit element holds two primary bytes and one secondary byte; a long weight
    // goes on in a continuation element with the same layout, so the bytes simply follow.
    for (int32_t e = ucol_next(elements, &status); U_SUCCESS(status) && e != UCOL_NULLORDER;
         e = ucol_next(elements, &status)) {
        const auto element = static_cast<std::uint32_t>(e);
        add(static_cast<std::uint8_t>(element >> 24), weights.primary, weights.primaryLength);
        add(static_cast<std::uint8_t>(element >> 16), weights.primary, weights.primaryLength);
        add(static_cast<std::uint8_t>(element >> 8), weights.secondary, weights.secondaryLength);
    }
    ucol_closeElements(elements);
    return fits && U_SUCCESS(status);
}

int CompareBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareLatinWeights(const LatinWeights& a, const LatinWeights& b)
{
    const int primary = CompareBytes({a.primary.data(), a.primaryLength}, {b.primary.data(), b.primaryLength});
    if (primary != 0)
        return primary;
    return CompareBytes({a.secondary.data(), a.secondaryLength}, {b.secondary.data(), b.secondaryLength});
}

LatinTable MakeLatinTable(const UCollator* collator, const USet* contractions)
{
    LatinTable table;
    if (collator == nullptr || contractions == nullptr)
        return table;
    UErrorCode status = U_ZERO_ERROR;
    if (!WeighsCharacterByCharacter(collator) || ucol_getAttribute(collator, UCOL_FRENCH_COLLATION, &status) != UCOL_OFF
        || ucol_getAttribute(collator, UCOL_STRENGTH, &status) != UCOL_SECONDARY || U_FAILURE(status))
        return table;
    int32_t reorderCodes[8];
    if (ucol_getReorderCodes(collator, reorderCodes, 8, &status) != 0 || U_FAILURE(status))
        return table;
    for (std::size_t i = 0; i < kLatinCharacters; ++i)
        table.covered[i] = ReadLatinWeights(collator, LatinCharacter(i), table.weights[i]);
    auto inTable = [](UChar c) {
        for (unsigned byte = 0x80; byte < 0xA0 && c >= 0x100; ++byte)
            if (Windows1252Character(static_cast<unsigned char>(byte)) == c)
                return true;
        return c < 0x100;
    };
    std::vector<UChar> ends;
    if (!ForEachString(contractions, [&](const UChar* text, int32_t length) {
            if (std::all_of(text, text + length, inTable))
                ends.push_back(text[length - 1]);
        }))
        return table;
    for (std::size_t i = 0; i < kLatinCharacters; ++i)
        if (std::find(ends.begin(), ends.end(), LatinCharacter(i)) != ends.end())
            table.covered[i] = false;
    // A check of the table against the collator itself: the characters in the table's
    // order, each next one compared by ICU.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < kLatinCharacters; ++i)
        if (table.covered[i])
            order.push_back(i);
    std::sort(order.begin(), order.end(),
        [&table](std::size_t a, std::size_t b) { return CompareLatinWeights(table.weights[a], table.weights[b]) < 0; });
    for (std::size_t k = 1; k < order.size(); ++k) {
        const UChar a = LatinCharacter(order[k - 1]);
        const UChar b = LatinCharacter(order[k]);
        const int expected = CompareLatinWeights(table.weights[order[k - 1]], table.weights[order[k]]);
        const UCollationResult got = ucol_strcoll(collator, &a, 1, &b, 1);
        if (got != (expected < 0 ? UCOL_LESS : (expected == 0 ? UCOL_EQUAL : UCOL_GREATER)))
            return table;
    }
    table.asciiCovered = std::all_of(table.covered.begin(), table.covered.begin() + 128, [](bool c) { return c; });
    table.usable = true;
    return table;
}

// The tables of this thread's collator. Listing the collator's contractions costs a few
// milliseconds, so both tables are made from one list.
struct Tables {
    AsciiRanks asciiRanks;
    LatinTable latin;

    Tables()
    {
        const UCollator* collator = IgnoreCaseCollator();
        const SetPtr contractions = Contractions(collator);
        asciiRanks = MakeAsciiRanks(collator, contractions.get());
        latin = MakeLatinTable(collator, contractions.get());
    }
};

// One set per thread, as the collator they come from.
const Tables& ThreadTables()
{
    thread_local const Tables tables;
    return tables;
}

// Two ASCII texts through the table. The bytes both begin with weigh the same, so the
// comparison starts where they first differ.
int CompareAsciiRanks(const AsciiRanks& ranks, std::string_view a, std::string_view b)
{
    const std::size_t shared = SharedPrefixLength(a, b);
    std::size_t i = shared;
    std::size_t j = shared;
    for (;;) {
        while (i < a.size() && ranks.rank[static_cast<unsigned char>(a[i])] == 0)
            ++i;
        while (j < b.size() && ranks.rank[static_cast<unsigned char>(b[j])] == 0)
            ++j;
        if (i == a.size() || j == b.size())
            return (i == a.size()) == (j == b.size()) ? 0 : (i == a.size() ? -1 : 1);
        const unsigned char ra = ranks.rank[static_cast<unsigned char>(a[i])];
        const unsigned char rb = ranks.rank[static_cast<unsigned char>(b[j])];
        if (ra != rb)
            return ra < rb ? -1 : 1;
        ++i;
        ++j;
    }
}

// One level of two Latin texts from the given places on: the weight bytes of their
// characters one after another, primary or secondary.
int CompareLatinLevel(const LatinTable& table, const PreparedText& a, std::size_t i, const PreparedText& b,
    std::size_t j, bool secondary)
{
    const std::uint8_t* x = nullptr;
    const std::uint8_t* y = nullptr;
    std::size_t xLeft = 0;
    std::size_t yLeft = 0;
    for (;;) {
        // Both at the start of a character: the same character weighs the same, whichever
        // encoding it came in (texts of both encodings share long stretches).
        while (xLeft == 0 && yLeft == 0 && i < a.text.size() && j < b.text.size()) {
            std::size_t iNext = i;
            std::size_t jNext = j;
            if (NextLatinIndex(a.text, a.utf8, iNext) != NextLatinIndex(b.text, b.utf8, jNext))
                break;
            i = iNext;
            j = jNext;
        }
        while (xLeft == 0 && i < a.text.size()) {
            const LatinWeights& w = table.weights[NextLatinIndex(a.text, a.utf8, i)];
            x = secondary ? w.secondary.data() : w.primary.data();
            xLeft = secondary ? w.secondaryLength : w.primaryLength;
        }
        while (yLeft == 0 && j < b.text.size()) {
            const LatinWeights& w = table.weights[NextLatinIndex(b.text, b.utf8, j)];
            y = secondary ? w.secondary.data() : w.primary.data();
            yLeft = secondary ? w.secondaryLength : w.primaryLength;
        }
        if (xLeft == 0 || yLeft == 0)
            return (xLeft == 0) == (yLeft == 0) ? 0 : (xLeft == 0 ? -1 : 1);
        const std::size_t n = std::min(xLeft, yLeft);
        for (std::size_t k = 0; k < n; ++k)
            if (x[k] != y[k])
                return x[k] < y[k] ? -1 : 1;
        x += n;
        y += n;
        xLeft -= n;
        yLeft -= n;
    }
}

// Two texts whose characters are all in the table. The characters both begin with weigh
// the same at both levels, so the comparison starts after them.
int CompareLatin(const LatinTable& table, const PreparedText& a, const PreparedText& b)
{
    std::size_t shared = SharedPrefixLength(a.text, b.text);
    if (a.utf8 != b.utf8) {
        // The same bytes are the same characters only while they are ASCII.
        std::size_t ascii = 0;
        while (ascii < shared && static_cast<unsigned char>(a.text[ascii]) < 0x80)
            ++ascii;
        shared = ascii;
    } else if (a.utf8) {
        // Back to the start of a character the two share whole.
        auto inside = [&shared](std::string_view t) {
            return shared < t.size() && (static_cast<unsigned char>(t[shared]) & 0xC0U) == 0x80;
        };
        while (shared > 0 && (inside(a.text) || inside(b.text)))
            --shared;
    }
    const int primary = CompareLatinLevel(table, a, shared, b, shared, false);
    if (primary != 0)
        return primary;
    return CompareLatinLevel(table, a, shared, b, shared, true);
}

// Whether every character of the text is in the table.
bool InLatinTable(const LatinTable& table, std::string_view text, bool ascii, bool utf8)
{
    if (!table.usable)
        return false;
    if (ascii && table.asciiCovered)
        return true;
    for (std::size_t i = 0; i < text.size();) {
        if (table.asciiCovered && i + 8 <= text.size()) {
            std::uint64_t word; // eight ASCII characters at a time
            std::memcpy(&word, text.data() + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const auto b = static_cast<unsigned char>(text[i]);
        if (utf8 && b >= 0x80 && b != 0xC2 && b != 0xC3)
            return false;
        if (!table.covered[NextLatinIndex(text, utf8, i)])
            return false;
    }
    return true;
}

} // namespace

int CompareTextIgnoreCase(std::string_view a, std::string_view b)
{
    const Tables& tables = ThreadTables();
    if (tables.asciiRanks.usable && IsAscii(a) && IsAscii(b))
        return CompareAsciiRanks(tables.asciiRanks, a, b);
    if (tables.latin.usable) {
        const PreparedText x = PrepareText(a);
        if (x.latin) {
            const PreparedText y = PrepareText(b);
            if (y.latin)
                return CompareLatin(tables.latin, x, y);
        }
    }
    return CollateIgnoreCase(a, b);
}

bool SameTextIgnoreCase(std::string_view a, std::string_view b)
{
    return CompareTextIgnoreCase(a, b) == 0;
}

PreparedText PrepareText(std::string_view text)
{
    PreparedText prepared;
    prepared.text = text;
    prepared.ascii = IsAscii(text);
    prepared.utf8 = prepared.ascii || IsValidUtf8(text);
    prepared.latin = InLatinTable(ThreadTables().latin, text, prepared.ascii, prepared.utf8);
    return prepared;
}

SortPrefix SortPrefixOf(const PreparedText& text)
{
    // The same table as ComparePreparedIgnoreCase takes for two such texts, so that equal
    // kinds compare the same weights it compares.
    constexpr std::uint64_t kAsciiKind = 1;
    constexpr std::uint64_t kLatinKind = 2;
    const Tables& tables = ThreadTables();
    std::array<std::uint8_t, 15> bytes{};
    std::size_t n = 0;
    std::uint64_t kind = 0;
    const std::string_view t = text.text;
    if (text.ascii && tables.asciiRanks.usable) {
        kind = kAsciiKind;
        for (std::size_t i = 0; i < t.size() && n < bytes.size(); ++i)
            if (const unsigned char rank = tables.asciiRanks.rank[static_cast<unsigned char>(t[i])]; rank != 0)
                bytes[n++] = rank;
    } else if (text.latin && tables.latin.usable) {
        kind = kLatinKind;
        for (std::size_t i = 0; i < t.size() && n < bytes.size();) {
            const LatinWeights& w = tables.latin.weights[NextLatinIndex(t, text.utf8, i)];
            for (std::size_t k = 0; k < w.primaryLength && n < bytes.size(); ++k)
                bytes[n++] = w.primary[k];
        }
    } else
        return {};
    // Unused places stay 0, below every rank and weight byte: a text that is a proper
    // prefix of another sorts first, as both tables order them.
    SortPrefix prefix;
    for (std::size_t i = 0; i < 8; ++i)
        prefix.high = prefix.high << 8 | bytes[i];
    for (std::size_t i = 8; i < 15; ++i)
        prefix.low = prefix.low << 8 | bytes[i];
    prefix.low = prefix.low << 8 | kind;
    return prefix;
}

bool ComparedByTable(const PreparedText& text)
{
    return (text.ascii && ThreadTables().asciiRanks.usable) || text.latin;
}

int ComparePreparedIgnoreCase(const PreparedText& a, const PreparedText& b)
{
    const Tables& tables = ThreadTables();
    if (a.ascii && b.ascii && tables.asciiRanks.usable)
        return CompareAsciiRanks(tables.asciiRanks, a.text, b.text);
    if (a.latin && b.latin && tables.latin.usable)
        return CompareLatin(tables.latin, a, b);
    if (a.utf8 && b.utf8)
        return CollateUtf8IgnoreCase(a.text, b.text);
    return CollateIgnoreCase(a.text, b.text);
}

} // namespace vorbix
