#include "platform/Collation.h"

#include "platform/TextCoding.h"

#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <array>
#include <bit>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vorbix {

namespace {

// The user's collation locale: LC_ALL, then LC_COLLATE, then LANG; C and POSIX mean root.
std::string UserCollationLocale()
{
    const char* names[] = {"LC_ALL", "LC_COLLATE", "LANG"};
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        std::string locale(value);
        locale.resize(std::min(locale.size(), locale.find_first_of(".@")));
        if (locale == "C" || locale == "POSIX")
            return "root";
        return locale;
    }
    return "root";
}

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

CollatorPtr OpenCollator(const std::string& locale, UCollationStrength strength)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(locale.c_str(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        collator = ucol_open("", &status);
    }
    if (collator != nullptr) {
        ucol_setStrength(collator, strength);
        // Lower case first, matching the platform comparison users know from file lists.
        status = U_ZERO_ERROR;
        if (strength == UCOL_TERTIARY)
            ucol_setAttribute(collator, UCOL_CASE_FIRST, UCOL_LOWER_FIRST, &status);
    }
    return CollatorPtr(collator);
}

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

bool AsciiAloneInContractions(const UCollator* collator)
{
    UErrorCode status = U_ZERO_ERROR;
    USet* contractions = uset_openEmpty();
    USet* expansions = uset_openEmpty();
    ucol_getContractionsAndExpansions(collator, contractions, expansions, true, &status);
    bool clean = U_SUCCESS(status);
    for (int32_t c = 0; clean && c < 0x80; ++c)
        clean = !uset_contains(expansions, c);
    UChar text[64];
    for (int32_t i = 0, n = uset_getItemCount(contractions); clean && i < n; ++i) {
        UChar32 start = 0;
        UChar32 end = 0;
        status = U_ZERO_ERROR;
        const int32_t length = uset_getItem(contractions, i, &start, &end, text, 64, &status);
        if (U_FAILURE(status)) {
            clean = false;
            break;
        }
        bool allAscii = length > 0;
        for (int32_t k = 0; k < length; ++k)
            allAscii = allAscii && text[k] < 0x80;
        clean = !allAscii;
    }
    uset_close(contractions);
    uset_close(expansions);
    return clean;
}

AsciiRanks MakeAsciiRanks(const UCollator* collator)
{
    AsciiRanks ranks;
    if (collator == nullptr)
        return ranks;
    UErrorCode status = U_ZERO_ERROR;
    if (ucol_getAttribute(collator, UCOL_ALTERNATE_HANDLING, &status) != UCOL_NON_IGNORABLE
        || ucol_getAttribute(collator, UCOL_NUMERIC_COLLATION, &status) != UCOL_OFF
        || ucol_getAttribute(collator, UCOL_CASE_LEVEL, &status) != UCOL_OFF || U_FAILURE(status)
        || !AsciiAloneInContractions(collator))
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

struct Collators {
    std::string locale = UserCollationLocale();
    CollatorPtr caseSensitive = OpenCollator(locale, UCOL_TERTIARY);
    CollatorPtr caseInsensitive = OpenCollator(locale, UCOL_SECONDARY);
    AsciiRanks asciiRanks = MakeAsciiRanks(caseInsensitive.get());
};

static_assert(std::endian::native == std::endian::little); // the first differing byte is the lowest

bool IsAsciiText(std::string_view text)
{
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

// Two ASCII texts through the table. The bytes both begin with weigh the same, so the
// comparison starts where they first differ.
int CompareAsciiRanks(const AsciiRanks& ranks, std::string_view a, std::string_view b)
{
    // The first differing byte, eight at a time.
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t shared = 0;
    for (; shared + 8 <= common; shared += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a.data() + shared, 8);
        std::memcpy(&y, b.data() + shared, 8);
        if (x != y) {
            shared += static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8; // bytes in memory order
            break;
        }
    }
    while (shared < common && a[shared] == b[shared])
        ++shared;
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

// One set per thread: an ICU collator must not be used by two threads at once.
Collators& ThreadCollators()
{
    thread_local Collators collators;
    return collators;
}

// Both texts valid UTF-8.
int CollateUtf8(UCollator* collator, std::string_view a, std::string_view b)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r = ucol_strcollUTF8(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
        static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status))
        return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
}

int Collate(UCollator* collator, std::string_view a, std::string_view b)
{
    if (collator == nullptr)
        return CompareAsciiUpper(a, b);
    // A text that is not valid UTF-8 was written on Windows: it is compared as the
    // Windows-1252 characters it holds, so "Caf\xe9" is "Café" and not a replacement
    // character that equals every other such text.
    std::string aText;
    std::string bText;
    if (!IsValidUtf8(a)) {
        aText = Windows1252ToUtf8(a);
        a = aText;
    }
    if (!IsValidUtf8(b)) {
        bText = Windows1252ToUtf8(b);
        b = bText;
    }
    return CollateUtf8(collator, a, b);
}

} // namespace

int CompareText(std::string_view a, std::string_view b)
{
    return Collate(ThreadCollators().caseSensitive.get(), a, b);
}

int CompareTextIgnoreCase(std::string_view a, std::string_view b)
{
    const Collators& collators = ThreadCollators();
    if (collators.asciiRanks.usable && IsAsciiText(a) && IsAsciiText(b))
        return CompareAsciiRanks(collators.asciiRanks, a, b);
    return Collate(collators.caseInsensitive.get(), a, b);
}

PreparedText PrepareText(std::string_view text)
{
    PreparedText prepared;
    prepared.text = text;
    prepared.ascii = IsAsciiText(text);
    prepared.utf8 = prepared.ascii || IsValidUtf8(text);
    return prepared;
}

int ComparePreparedIgnoreCase(const PreparedText& a, const PreparedText& b)
{
    const Collators& collators = ThreadCollators();
    if (a.ascii && b.ascii && collators.asciiRanks.usable)
        return CompareAsciiRanks(collators.asciiRanks, a.text, b.text);
    UCollator* collator = collators.caseInsensitive.get();
    if (collator == nullptr)
        return CompareAsciiUpper(a.text, b.text);
    if (a.utf8 && b.utf8)
        return CollateUtf8(collator, a.text, b.text);
    return Collate(collator, a.text, b.text);
}

int CompareAsciiUpper(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(AsciiUpperChar(a[i]));
        const auto cb = static_cast<unsigned char>(AsciiUpperChar(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameTextIgnoreCase(std::string_view a, std::string_view b)
{
    return CompareTextIgnoreCase(a, b) == 0;
}

bool SameAsciiIgnoreCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareAsciiUpper(a, b) == 0;
}

std::string AsciiUpperText(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = AsciiUpperChar(c);
    return upper;
}

std::string AsciiLowerText(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

} // namespace vorbix
