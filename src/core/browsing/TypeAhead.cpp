#include "browsing/TypeAhead.h"

namespace vorbix {

namespace {

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::optional<char> TypeAheadCharacter(int virtualKey)
{
    if (virtualKey < 0x30 || virtualKey > 0x7E)
        return std::nullopt;
    return AsciiUpper(static_cast<char>(virtualKey));
}

char InitialOf(const std::string& keyText)
{
    return keyText.empty() ? ' ' : AsciiUpper(keyText.front());
}

} // namespace vorbix
