#include "launching/EmulatorPresets.h"

#include "catalogue/Utilities.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

#include <cstdlib>

namespace vorbix {

namespace {

struct PresetRow {
    const char* Name;
    const char* Command; // the executable's name
    const char* Folder; // the working folder's name under $XDG_CACHE_HOME/vorbix/
    const char* CommandLine;
    bool RomsCfgModelB = false;
};

// What each emulator takes to run a disc and boot it. b2 is never given a bare file: that
// hands the disc to a b2 that is already running and ends at once. MAME boots no disc by
// itself, so it types the boot command (%BOOT%, from the disc's boot option) at the prompt;
// a tape needs *TAPE and CHAIN "" typed, and as a command line cannot hold a double quote
// inside a word, the empty name is written as LEFT$(STR$0,0).
constexpr PresetRow kPresets[] = {
    {"b2", "b2", "b2", "-0 %IMAGE% -b"},
    {"B-Em", "b-em", "b-em", "-disc %IMAGE% -autoboot"},
    {"beebjit", "beebjit", "beebjit", "-0 %IMAGE% -autoboot"},
    {"BeebEm", "beebem", "beebem", "%IMAGE%", true},
    {"MAME BBC Model B (disc)", "mame", "mame-bbcb",
        "bbcb -flop1 %IMAGE% -autoboot_delay 2 -autoboot_command \"%BOOT%\\n\""},
    {"MAME BBC Model B (tape)", "mame", "mame-bbcb-tape",
        "bbcb -cass %IMAGE% -autoboot_delay 2 -autoboot_command \"*TAPE\\nCHAIN LEFT$(STR$0,0)\\n\""},
    {"MAME BBC Model B (ROM)", "mame", "mame-bbcb-rom", "bbcb -rom1 %IMAGE%"},
    {"MAME BBC Master 128 (disc)", "mame", "mame-bbcm",
        "bbcm -flop1 %IMAGE% -autoboot_delay 2 -autoboot_command \"%BOOT%\\n\""},
};

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The first executable of that name in a folder of PATH, then in the games folder. Only
// full folders count: a relative PATH entry would name a different file from every other
// folder the program is started in.
std::string FindExecutable(const std::string& command, const PresetEnvironment& environment)
{
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (start <= environment.Path.size()) {
        std::size_t end = environment.Path.find(':', start);
        if (end == std::string::npos)
            end = environment.Path.size();
        folders.push_back(environment.Path.substr(start, end - start));
        start = end + 1;
    }
    folders.push_back(environment.GamesFolder);
    for (const std::string& folder : folders) {
        if (!IsFullPath(folder))
            continue;
        std::string candidate = IncludeBackslash(folder) + command;
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return command;
}

std::string CacheFolder(const PresetEnvironment& environment)
{
    if (IsFullPath(environment.XdgCacheHome))
        return IncludeBackslash(environment.XdgCacheHome);
    return IncludeBackslash(environment.Home) + ".cache/";
}

} // namespace

PresetEnvironment SystemPresetEnvironment()
{
    return {Variable("PATH"), Variable("XDG_CACHE_HOME"), Variable("HOME")};
}

std::vector<std::string> EmulatorPresetNames()
{
    std::vector<std::string> names;
    for (const PresetRow& row : kPresets)
        names.emplace_back(row.Name);
    return names;
}

std::optional<EmuRecord> EmulatorPreset(const std::string& name, const PresetEnvironment& environment)
{
    for (const PresetRow& row : kPresets) {
        if (name != row.Name)
            continue;
        // The working copies live in a folder nobody else writes to, and go after each run.
        const std::string folder = CacheFolder(environment) + "vorbix/" + row.Folder + "/";
        EmuRecord record;
        record.EmuName = row.Name;
        record.EmuUrl = FindExecutable(row.Command, environment);
        record.CommandLineString = row.CommandLine;
        record.DiskWorkingDir = folder;
        record.RomWorkingDir = folder;
        record.CleanDiskWorkingDir = true;
        record.CleanRomWorkingDir = true;
        record.ProcessRomsCfgModelB = row.RomsCfgModelB;
        return record;
    }
    return std::nullopt;
}

Status CreateWorkingFolders(const EmuRecord& record)
{
    for (const std::string* folder : {&record.DiskWorkingDir, &record.RomWorkingDir})
        if (!folder->empty() && !ForceDirectories(*folder))
            return Failure{"Cannot create folder " + *folder, *folder};
    return {};
}

} // namespace vorbix
