#pragma once
// The characters of the program list's type-ahead search.

#include <optional>
#include <string>

namespace vorbix {

// The character a key stands for in the type-ahead search: virtual-key codes 0x30 to 0x7E
// taken as characters and upper-cased (only a to z change), so the keypad and function
// keys (0x60 to 0x7B) give the back-quote to the opening brace, upper-cased: F1 gives 'P'.
// Other keys give no character.
std::optional<char> TypeAheadCharacter(int virtualKey);

// The initial a row is searched by: the first character upper-cased (a to z only), or a
// blank for an empty text.
char InitialOf(const std::string& keyText);

} // namespace vorbix
