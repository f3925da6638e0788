#include "platform/Collation.h"

#include "platform/TextCoding.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

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

} // namespace

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
