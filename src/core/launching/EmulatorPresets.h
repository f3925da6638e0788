#pragma once
// Ready-made emulator definitions for the emulators a Linux user installs (b2, B-Em,
// beebjit, BeebEm, MAME): every field of an EmuRecord filled for one of them, so that a new
// definition needs no knowledge of the emulator's switches.

#include "catalogue/Records.h"
#include "host/Result.h"

#include <optional>
#include <string>
#include <vector>

namespace vorbix {

// What a preset is filled from: where executables are looked for and where working
// folders go.
struct PresetEnvironment {
    std::string Path; // $PATH
    std::string XdgCacheHome; // $XDG_CACHE_HOME; an empty or relative one is not used
    std::string Home; // $HOME
    // Looked in after PATH: Debian installs its games (MAME among them) here.
    std::string GamesFolder = "/usr/games";
};

// The environment of this process.
PresetEnvironment SystemPresetEnvironment();

// The names of the presets, in the order a menu lists them.
std::vector<std::string> EmulatorPresetNames();

// The definition of the preset called name (exactly), or nothing for an unknown name. The
// executable is the first one found on PATH, then in the games folder; when there is none,
// its plain command name, which the definition check then reports. The disk and ROM images
// go to a working folder of the preset's own, $XDG_CACHE_HOME/vorbix/SLUG/ (by default
// $HOME/.cache/vorbix/SLUG/); nothing is created here.
std::optional<EmuRecord> EmulatorPreset(const std::string& name, const PresetEnvironment& environment);

// Creates the record's working folders (and their parents) when missing, as applying a
// preset does; "Cannot create folder " + path when one cannot be made.
Status CreateWorkingFolders(const EmuRecord& record);

} // namespace vorbix
