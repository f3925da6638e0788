#include "platform/Collation.h"

#include "platform/TextCoding.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

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

struct Collators {
    std::string locale = UserCollationLocale();
    CollatorPtr caseSensitive = OpenCollator(locale, UCOL_TERTIARY);
    CollatorPtr caseInsensitive = OpenCollator(locale, UCOL_SECONDARY);
    CollatorPtr primary = OpenCollator(locale, UCOL_PRIMARY);
};

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

// Whether the collator takes the two characters (b may be none) for the same.
bool SameCharacter(const UCollator* collator, char32_t a, std::optional<char32_t> b)
{
    UChar x[2] = {};
    UChar y[2] = {};
    int32_t xLength = 0;
    int32_t yLength = 0;
    UBool error = false;
    U16_APPEND(x, xLength, 2, a, error);
    if (b)
        U16_APPEND(y, yLength, 2, *b, error);
    return !error && ucol_strcoll(collator, x, xLength, y, yLength) == UCOL_EQUAL;
}

// One character as the find compares it (see FoldForSearch), as UTF-8: empty for a
// character the collator ignores; the base letter of its canonical decomposition when
// the collator takes the two for the same; case-folded when that is the same letter too.
// Without a collator the accents and the case always go, and only the controls are left
// out.
std::string FoldCharacter(const UCollator* primary, char32_t c)
{
    if (primary ? SameCharacter(primary, c, std::nullopt) : c < 0x20)
        return {};
    char32_t base = c;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    UChar decomposed[8];
    const int32_t length =
        U_SUCCESS(status) ? unorm2_getDecomposition(nfd, static_cast<UChar32>(c), decomposed, 8, &status) : -1;
    if (U_SUCCESS(status) && length > 0) {
        UChar32 first = 0;
        int32_t at = 0;
        U16_NEXT(decomposed, at, length, first);
        if (!primary || SameCharacter(primary, c, static_cast<char32_t>(first)))
            base = static_cast<char32_t>(first);
    }
    auto folded = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(base), U_FOLD_CASE_DEFAULT));
    if (primary && folded != base && !SameCharacter(primary, base, folded))
        folded = base;
    char utf8[4];
    int32_t n = 0;
    UBool error = false;
    U8_APPEND(utf8, n, 4, static_cast<UChar32>(folded), error);
    return error ? std::string() : std::string(utf8, static_cast<std::size_t>(n));
}

// The folded form of every character met so far, for the collator of this thread: the
// ASCII characters (each folds to one ASCII character or none, kNone) and the Windows-1252
// bytes are tabled at once, any other character when it first comes.
class SearchFolding {
public:
    static constexpr char kNone = 0;

    SearchFolding() : primary_(ThreadCollators().primary.get())
    {
        for (unsigned c = 0; c < 128; ++c) {
            const std::string folded = FoldCharacter(primary_, c);
            ascii_[c] = folded.size() == 1 ? folded[0] : kNone;
        }
        for (unsigned byte = 0; byte < 256; ++byte)
            windows1252_[byte] = byte < 128 ? std::string(ascii_[byte] == kNone ? 0 : 1, ascii_[byte])
                                            : Of(Windows1252Character(static_cast<unsigned char>(byte)));
    }

    char Ascii(unsigned char c) const { return ascii_[c]; }
    const std::string& Windows1252(unsigned char byte) const { return windows1252_[byte]; }
    const std::string& Of(char32_t c)
    {
        auto [it, added] = others_.try_emplace(c);
        if (added)
            it->second = FoldCharacter(primary_, c);
        return it->second;
    }

private:
    const UCollator* primary_;
    std::array<char, 128> ascii_{};
    std::array<std::string, 256> windows1252_;
    std::unordered_map<char32_t, std::string> others_;
};

SearchFolding& ThreadSearchFolding()
{
    thread_local SearchFolding folding;
    return folding;
}

} // namespace

std::string FoldForSearch(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    AppendFoldedForSearch(text, folded);
    return folded;
}

void AppendFoldedForSearch(std::string_view text, std::string& out)
{
    SearchFolding& folding = ThreadSearchFolding();
    std::size_t i = 0;
    // Most names are plain ASCII: one table look-up a byte.
    for (; i < text.size() && static_cast<unsigned char>(text[i]) < 0x80; ++i)
        if (const char c = folding.Ascii(static_cast<unsigned char>(text[i])); c != SearchFolding::kNone)
            out += c;
    if (i == text.size())
        return;
    if (!IsValidUtf8(text)) {
        for (; i < text.size(); ++i)
            out += folding.Windows1252(static_cast<unsigned char>(text[i]));
        return;
    }
    const auto length = static_cast<int32_t>(text.size());
    auto at = static_cast<int32_t>(i);
    while (at < length) {
        UChar32 c = 0;
        // ICU's macro narrows its own int to a byte inside; the text is what it reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wconversion"
        U8_NEXT(text.data(), at, length, c);
#pragma GCC diagnostic pop
        if (c < 0x80) {
            if (const char a = folding.Ascii(static_cast<unsigned char>(c)); a != SearchFolding::kNone)
                out += a;
        } else if (c > 0) {
            out += folding.Of(static_cast<char32_t>(c));
        }
    }
}

int CompareText(std::string_view a, std::string_view b)
{
    return Collate(ThreadCollators().caseSensitive.get(), a, b);
}

int CollateIgnoreCase(std::string_view a, std::string_view b)
{
    return Collate(ThreadCollators().caseInsensitive.get(), a, b);
}

int CollateUtf8IgnoreCase(std::string_view a, std::string_view b)
{
    UCollator* collator = ThreadCollators().caseInsensitive.get();
    if (collator == nullptr)
        return CompareAsciiUpper(a, b);
    return CollateUtf8(collator, a, b);
}

const UCollator* IgnoreCaseCollator()
{
    return ThreadCollators().caseInsensitive.get();
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
