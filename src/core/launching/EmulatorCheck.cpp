#include "launching/EmulatorCheck.h"

#include "catalogue/Utilities.h"
#include "launching/EmulatorArguments.h"
#include "launching/LaunchProgram.h"
#include "launching/RomsCfg.h"
#include "platform/AppDir.h"
#include "platform/Collation.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

#include <cctype>
#include <unordered_set>

namespace vorbix {

namespace {

// A working folder as the launch uses it: the configured one, or the emulator's own folder
// when none is set.
struct WorkingFolder {
    std::string Label; // "disk working folder", "ROM working folder" or both
    std::string Configured;
    std::string Path;
    bool MadeWhenNeeded = false; // the private folder in the cache that an empty disk folder means
};

class EmulatorCheck {
public:
    EmulatorCheck(const EmuRecord& emu, const Catalogue& catalogue) : emu_(emu), cat_(catalogue) {}

    std::vector<std::string> Run()
    {
        CheckExecutable();
        CheckCommandLine();
        for (const WorkingFolder& folder : WorkingFolders())
            CheckFolder(folder);
        CheckRomsCfg();
        CheckDfsRoms();
        return problems_;
    }

private:
    void CheckExecutable();
    void CheckCommandLine();
    std::vector<WorkingFolder> WorkingFolders() const;
    void CheckFolder(const WorkingFolder& folder);
    std::string CatalogueProgramIn(const std::string& folder) const;
    void CheckRomsCfg();
    void CheckDfsRoms();

    const EmuRecord& emu_;
    const Catalogue& cat_;
    std::vector<std::string> problems_;
};

void EmulatorCheck::CheckExecutable()
{
    if (emu_.EmuUrl.empty())
        problems_.emplace_back("No emulator file is set");
    else if (!FileExists(emu_.EmuUrl))
        problems_.push_back("Cannot find the emulator file " + emu_.EmuUrl);
    else if (!IsExecutableFile(emu_.EmuUrl))
        problems_.push_back("The emulator file " + emu_.EmuUrl + " is not executable");
}

void EmulatorCheck::CheckCommandLine()
{
    const std::vector<std::string> words = SplitCommandLine(emu_.CommandLineString);
    if (AsciiLowerText(FileNamePart(emu_.EmuUrl)) == "b2" && words == std::vector<std::string>{kImagePlaceholder})
        problems_.emplace_back("b2 given only %IMAGE% hands the disc to a b2 that is already running and ends at "
                               "once: use -0 %IMAGE% -b");
    if (emu_.CommandLineString.find(kImagePlaceholder) != std::string::npos)
        return;
    const bool disk = emu_.DiskWorkingDir.empty();
    const bool rom = emu_.RomWorkingDir.empty();
    if (!disk && !rom)
        return;
    const std::string folders = disk && rom ? "disk and ROM working folders are"
        : disk                              ? "disk working folder is"
                                            : "ROM working folder is";
    problems_.push_back(
        "The command line has no %IMAGE% and the " + folders + " empty: the emulator is not told which image to run");
}

// One entry per folder: a disk and ROM working folder that are the same are looked at once.
std::vector<WorkingFolder> EmulatorCheck::WorkingFolders() const
{
    // An empty disk working folder is the launch's private folder in the cache; an empty ROM
    // working folder is the emulator's own, where ROMS.CFG names the ROMs.
    const bool diskInCache = emu_.DiskWorkingDir.empty();
    WorkingFolder disk{"disk working folder", emu_.DiskWorkingDir,
        diskInCache ? CacheWorkFolder() : IncludeBackslash(emu_.DiskWorkingDir), diskInCache};
    WorkingFolder rom{"ROM working folder", emu_.RomWorkingDir,
        emu_.RomWorkingDir.empty() ? FolderPart(emu_.EmuUrl) : IncludeBackslash(emu_.RomWorkingDir)};
    if (disk.Path == rom.Path && disk.Configured.empty() == rom.Configured.empty()) {
        disk.Label = "disk and ROM working folder";
        return {disk};
    }
    return {disk, rom};
}

void EmulatorCheck::CheckFolder(const WorkingFolder& folder)
{
    // A bare executable name has no folder to look at; the executable's line says why.
    if (folder.Path.empty())
        return;
    // Made by the launch that needs it.
    if (folder.MadeWhenNeeded && !PathExists(folder.Path))
        return;
    std::string name = "The " + folder.Label + " " + folder.Path;
    if (folder.MadeWhenNeeded)
        name += " (the private folder in the cache, as no working folder is set)";
    else if (folder.Configured.empty())
        name += " (the emulator's own folder, as no working folder is set)";
    if (!DirectoryExists(folder.Path)) {
        problems_.push_back(name + " does not exist");
        return;
    }
    if (IsReadOnly(folder.Path))
        problems_.push_back(name + " cannot be written to");
    if (const std::string program = CatalogueProgramIn(folder.Path); !program.empty())
        problems_.push_back(name + " holds images of the catalogue (" + program
            + " among them): a working copy could take the place of one");
}

// The name of a catalogue program whose image lies in the folder (the same folder by
// identity, whatever its spelling); "" when none does. Each folder is looked at once.
std::string EmulatorCheck::CatalogueProgramIn(const std::string& folder) const
{
    const std::optional<DeviceInode> identity = IdentityOf(folder);
    if (!identity)
        return {};
    std::unordered_set<std::string> seen;
    for (const ProgramRecord& program : cat_.ProgramList) {
        std::string imageFolder = FolderPart(program.FileUrl);
        if (imageFolder.empty() || !seen.insert(imageFolder).second)
            continue;
        if (IdentityOf(imageFolder) == identity)
            return program.ProgramName;
    }
    return {};
}

void EmulatorCheck::CheckRomsCfg()
{
    if (!emu_.ProcessRomsCfgModelB && !emu_.ProcessRomsCfgMaster128)
        return;
    std::string problem = RomsCfgProblem(emu_.EmuUrl, emu_.ProcessRomsCfgModelB);
    if (problem.empty())
        return;
    problem.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(problem.front())));
    problems_.push_back("ROMS.CFG processing is on, but " + problem);
}

void EmulatorCheck::CheckDfsRoms()
{
    if (!emu_.HandleDfs || DfsRomsPresentIn(cat_))
        return;
    for (const char* file : {kDfsRomFile, kE00DfsRomFile})
        if (!FileExists(cat_.AppFile(file)))
            problems_.push_back("DFS handling is on, but the DFS ROM image " + cat_.AppFile(file) + " is missing");
}

} // namespace

std::vector<std::string> CheckEmulator(const EmuRecord& emu, const Catalogue& catalogue)
{
    return EmulatorCheck(emu, catalogue).Run();
}

} // namespace vorbix
