#pragma once
// How catalogue text, which stays bytes, is read where it is shown or compared by locale:
// a text that is valid UTF-8 is UTF-8; any other text comes from a catalogue written on
// Windows and is Windows-1252, one byte per character.

#include <string>
#include <string_view>

namespace vorbix {

bool IsValidUtf8(std::string_view text);

// The Windows-1252 text as UTF-8. The five bytes Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same value, so that no
// byte is lost.
std::string Windows1252ToUtf8(std::string_view text);

// The character a Windows-1252 byte stands for (the undefined ones keep their value).
char16_t Windows1252Character(unsigned char byte);

// The text as UTF-8: itself when valid, else read as Windows-1252.
std::string ReadableUtf8(std::string_view text);

} // namespace vorbix
