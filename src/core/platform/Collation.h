#pragma once
// The three ways the system compares names. Nothing else compares names.

#include <string_view>

namespace vorbix {

// Locale-aware and case-sensitive (a lower-case letter sorts before its capital).
int CompareText(std::string_view a, std::string_view b);
// Locale-aware, ignoring case.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);
// Plain byte comparison after mapping the ASCII letters a-z to A-Z.
int CompareAsciiUpper(std::string_view a, std::string_view b);

bool SameTextIgnoreCase(std::string_view a, std::string_view b);
bool SameAsciiIgnoreCase(std::string_view a, std::string_view b);

// The locale whose collation rules are used ("root" for C/POSIX); for diagnostics and tests.
const char* CollationLocaleName();

} // namespace vorbix
