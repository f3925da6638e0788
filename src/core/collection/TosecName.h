#pragma once
// Names in the TOSEC form, which most collections of BBC Micro images use:
// "Title (Year)(Publisher)(more)...[flags]", such as "Repton 3 (1988)(Superior Software)[a]".

#include <optional>
#include <string>
#include <string_view>

namespace vorbix {

struct TosecName {
    std::string Title; // with a trailing ", The" moved to the front
    std::string Year; // "1988", "198x", "1988-04"; as written
    std::string Publisher; // empty for TOSEC's "-" (not known)
};

// The parts of a name (a file name without its extension, or a DAT's game name) in the
// TOSEC form: a title, then a date in parentheses (four characters of digits and "x",
// optionally "-MM" and "-DD"), then a publisher in parentheses. A "(demo)" between title
// and date is allowed. Empty when the name is not in that form.
std::optional<TosecName> ParseTosecName(std::string_view name);

} // namespace vorbix
