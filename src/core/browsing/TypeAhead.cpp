#include "browsing/TypeAhead.h"

#include "platform/Collation.h"

namespace vorbix {

std::optional<char> TypeAheadCharacter(int virtualKey)
{
    if (virtualKey < 0x30 || virtualKey > 0x7E)
        return std::nullopt;
    return AsciiUpperChar(static_cast<char>(virtualKey));
}

char InitialOf(const std::string& keyText)
{
    return keyText.empty() ? ' ' : AsciiUpperChar(keyText.front());
}

} // namespace vorbix
