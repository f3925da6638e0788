#pragma once
// The arguments an emulator is started with, taken from its command line switches.

#include <string>
#include <vector>

namespace vorbix {

// The placeholder for the image's full path as placed for the emulator.
inline constexpr const char* kImagePlaceholder = "%IMAGE%";
// The placeholder for what boots the image as its DFS catalogue says ("*RUN !BOOT"), for an
// emulator that types it at the prompt (MAME's -autoboot_command); empty for a disc without
// a boot option, a tape, a ROM and an image that is no readable DFS disc.
inline constexpr const char* kBootPlaceholder = "%BOOT%";

// Splits text into words as a shell does: blanks and tabs separate words, a pair of
// double quotes groups what lies between them (the quotes themselves are dropped).
std::vector<std::string> SplitCommandLine(const std::string& text);

// The words of commandLine with every %IMAGE% replaced by imagePath and every %BOOT% by
// bootCommand. Without an image (a launch without program) a word holding %IMAGE% is left
// out, and so is the switch before a word that is only %IMAGE% ("-disc %IMAGE%"), which
// would otherwise take the next switch for its value; a word holding %BOOT% always stays,
// as the value of the switch before it.
std::vector<std::string> EmulatorArguments(const std::string& commandLine, const std::string& imagePath,
    const std::string& bootCommand = {});

// The boot command of the image file at imagePath: BootCommand of its DFS boot option for a
// disc image (.ssd, .dsd, .img), else empty.
std::string BootCommandOfImage(const std::string& imagePath);

} // namespace vorbix
