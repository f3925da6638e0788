#pragma once
// The fields of the emulator and filter records with their leaf names in the options file,
// in the order the options file and the legacy files hold them: one table serves the
// reader, the writer and the legacy import.

#include "catalogue/Records.h"

#include <string>

namespace vorbix {

struct EmuTextField {
    const char* Leaf;
    std::string EmuRecord::*Member;
    const char* Group; // the element the writer puts the leaf in; nullptr for none
};

inline constexpr EmuTextField kEmuTextFields[] = {
    {"emu-name", &EmuRecord::EmuName, nullptr},
    {"emu-url", &EmuRecord::EmuUrl, nullptr},
    {"commandline-string", &EmuRecord::CommandLineString, nullptr},
    {"environment-var-name", &EmuRecord::EnvVarName, "environment-var"},
    {"environment-var-value", &EmuRecord::EnvVarValue, "environment-var"},
    {"environment-var-ss-name", &EmuRecord::EnvVarSsName, "environment-var-ss"},
    {"environment-var-ss-value", &EmuRecord::EnvVarSsValue, "environment-var-ss"},
    {"environment-var-ds-name", &EmuRecord::EnvVarDsName, "environment-var-ds"},
    {"environment-var-ds-value", &EmuRecord::EnvVarDsValue, "environment-var-ds"},
    {"disk-working-dir", &EmuRecord::DiskWorkingDir, nullptr},
    {"disk-filename", &EmuRecord::DiskFilename, nullptr},
    {"rom-working-dir", &EmuRecord::RomWorkingDir, nullptr},
    {"rom-filename", &EmuRecord::RomFilename, nullptr},
    {"rom-file-ext", &EmuRecord::RomFileExt, nullptr},
    {"dfs-name", &EmuRecord::DfsName, nullptr},
    {"e00dfs-name", &EmuRecord::E00DfsName, nullptr},
};

struct EmuFlagField {
    const char* Leaf;
    bool EmuRecord::*Member;
};

// The first two are in every Emus.ini; the other three only in the later layout.
inline constexpr EmuFlagField kEmuFlagFields[] = {
    {"clean-disk-working-dir", &EmuRecord::CleanDiskWorkingDir},
    {"clean-rom-working-dir", &EmuRecord::CleanRomWorkingDir},
    {"process-romscfg-modelb", &EmuRecord::ProcessRomsCfgModelB},
    {"process-romscfg-master128", &EmuRecord::ProcessRomsCfgMaster128},
    {"handle-dfs", &EmuRecord::HandleDfs},
};
inline constexpr int kEmuFlagsInEveryLegacyFile = 2;

struct FilterTextField {
    const char* Leaf;
    std::string FilterRecord::*Member;
    bool InLegacyFile; // Filters.ini holds the name, publisher and type, in this order
};

// The favourite condition follows these as "f-favourite" (its own conversion).
inline constexpr FilterTextField kFilterTextFields[] = {
    {"filter-name", &FilterRecord::FilterName, true},
    {"f-publisher", &FilterRecord::FPublisher, true},
    {"f-pubcomp", &FilterRecord::FPubComp, false},
    {"f-type", &FilterRecord::FType, true},
    {"f-typecomp", &FilterRecord::FTypeComp, false},
};

} // namespace vorbix
