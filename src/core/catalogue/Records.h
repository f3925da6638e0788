#pragma once
// The three record types of the catalogue: programs, emulator definitions and filters.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

using StringList = std::vector<std::string>;

// One catalogue program: a disk or ROM image with its descriptive data.
struct ProgramRecord {
    std::string ProgramName;
    std::string FileUrl;
    std::string PublisherName;
    std::string ProgramType;
    bool Favourite = false;
    bool E00Dfs = false;
    StringList Comments;
    StringList EmuWarningEmus; // parallel to EmuWarningTexts
    StringList EmuWarningTexts;
    StringList DocLinkNames; // parallel to DocLinkUrls
    StringList DocLinkUrls;

    bool operator==(const ProgramRecord&) const = default;
};

// One emulator definition: how an installed emulator is started and fed.
struct EmuRecord {
    std::string EmuName;
    std::string EmuUrl;
    std::string CommandLineString;
    std::string EnvVarName;
    std::string EnvVarValue;
    std::string EnvVarSsName;
    std::string EnvVarSsValue;
    std::string EnvVarDsName;
    std::string EnvVarDsValue;
    std::string DiskWorkingDir;
    std::string DiskFilename;
    std::string RomWorkingDir;
    std::string RomFilename;
    std::string RomFileExt;
    std::string DfsName = "DFS.ROM";
    std::string E00DfsName = "E00DFS.ROM";
    bool CleanDiskWorkingDir = false;
    bool CleanRomWorkingDir = false;
    bool ProcessRomsCfgModelB = false;
    bool ProcessRomsCfgMaster128 = false;
    bool HandleDfs = false;
    // "Carry on when the emulator closes": the launch watches the emulator, and the after-run
    // steps start when it ends.
    bool WaitForExit = false;

    bool operator==(const EmuRecord&) const = default;
};

// Condition on a program's Favourite flag; the values are those of a three-state check box.
enum class FavouriteCondition : std::uint8_t { fcFalse = 0, fcTrue = 1, fcDontCare = 2 };

// One named filter of the main window.
struct FilterRecord {
    std::string FilterName;
    std::string FPublisher = "any";
    std::string FPubComp = "=";
    std::string FType = "any";
    std::string FTypeComp = "=";
    FavouriteCondition FFavourite = FavouriteCondition::fcDontCare;

    bool operator==(const FilterRecord&) const = default;
};

} // namespace vorbix
