#pragma once
// The arguments an emulator is started with, taken from its command line switches.

#include <string>
#include <vector>

namespace vorbix {

// The placeholder for the image's full path as placed for the emulator.
inline constexpr const char* kImagePlaceholder = "%IMAGE%";

// Splits text into words as a shell does: blanks and tabs separate words, a pair of
// double quotes groups what lies between them (the quotes themselves are dropped).
std::vector<std::string> SplitCommandLine(const std::string& text);

// The words of commandLine with every %IMAGE% replaced by imagePath. Without an image (a
// launch without program) a word holding the placeholder is left out.
std::vector<std::string> EmulatorArguments(const std::string& commandLine, const std::string& imagePath);

} // namespace vorbix
