#include "editing/EmulatorEditing.h"

#include "catalogue/Utilities.h"

#include <algorithm>
#include <utility>

namespace vorbix {

namespace {

bool SyncWarnings(ProgramRecord& program, const std::vector<EmuRecord>& emuList, const std::string& oldName,
    const std::string& newName)
{
    StringList& emus = program.EmuWarningEmus;
    StringList& texts = program.EmuWarningTexts;
    bool changed = false;
    std::size_t i = 0;
    while (i < emus.size()) {
        if (EmulatorExists(emuList, emus[i])) {
            ++i;
        } else if (!oldName.empty() && !newName.empty() && emus[i] == oldName) {
            emus[i] = newName;
            changed = true;
            ++i;
        } else {
            emus.erase(emus.begin() + static_cast<std::ptrdiff_t>(i));
            if (i < texts.size())
                texts.erase(texts.begin() + static_cast<std::ptrdiff_t>(i));
            changed = true;
        }
    }
    return changed;
}

ListEdit Edited(const Catalogue& catalogue, int eidx, bool programsChanged)
{
    ListEdit edit;
    edit.Change.Emulators = true;
    edit.Change.Programs = programsChanged;
    edit.EIdx = eidx;
    edit.Rows = EmulatorListRows(catalogue.EmuList);
    edit.SelectRow = RowOfEIdx(edit.Rows, eidx);
    return edit;
}

// Warnings are kept in programs.xml, which is written at exit only when programs changed:
// a rename or a dropped warning marks the programs as changed, or the next run would read
// the warnings under the old name and drop them.
bool SyncAndMark(Catalogue& catalogue, const std::string& oldName, const std::string& newName)
{
    const bool changed = SyncProgramWarnings(catalogue, oldName, newName);
    if (changed)
        catalogue.ProgramsChanged = true;
    return changed;
}

#ifdef _WIN32
const char* const kExecutablesFilter = "Executables|*.exe;*.pif;*.bat;*.com";
constexpr bool kExecutablesFirst = false;
const char* const kProgramsFolder = "";
#else
// Emulators outside Windows are executables without an extension: the first filter lists
// the files that can be executed, and the chooser starts where they are installed. The
// Windows filter stays for a Windows emulator run through Wine.
const char* const kExecutablesFilter = "Programs|*|Executables|*.exe;*.pif;*.bat;*.com|All files|*";
constexpr bool kExecutablesFirst = true;
const char* const kProgramsFolder = "/usr/bin/";
#endif

} // namespace

bool EmulatorExists(const std::vector<EmuRecord>& emuList, const std::string& name)
{
    return std::any_of(emuList.begin(), emuList.end(), [&](const EmuRecord& e) { return e.EmuName == name; });
}

bool SyncProgramWarnings(Catalogue& catalogue, const std::string& oldName, const std::string& newName)
{
    bool changed = false;
    for (ProgramRecord& program : catalogue.ProgramList)
        changed = SyncWarnings(program, catalogue.EmuList, oldName, newName) || changed;
    return changed;
}

std::vector<ListRow> EmulatorListRows(const std::vector<EmuRecord>& emuList)
{
    return ListRowsOf(emuList, &EmuRecord::EmuName);
}

ListEdit AddEmulator(Catalogue& catalogue, EmuRecord record)
{
    catalogue.EmuList.push_back(std::move(record));
    const int eidx = static_cast<int>(catalogue.EmuList.size()) - 1;
    const bool programsChanged = SyncAndMark(catalogue, "", "");
    return Edited(catalogue, eidx, programsChanged);
}

ListEdit ReplaceEmulator(Catalogue& catalogue, int eidx, EmuRecord record)
{
    if (!ValidIndex(catalogue.EmuList, eidx))
        return {{}, -1, EmulatorListRows(catalogue.EmuList), -1};
    EmuRecord& target = catalogue.EmuList[static_cast<std::size_t>(eidx)];
    const std::string oldName = target.EmuName;
    target = std::move(record);
    const bool programsChanged = SyncAndMark(catalogue, oldName, target.EmuName);
    return Edited(catalogue, eidx, programsChanged);
}

ListEdit DeleteEmulator(Catalogue& catalogue, int eidx)
{
    return DeleteListRecord(catalogue.EmuList, eidx, &EmulatorListRows, &CatalogueChange::Emulators);
}

FileOpenRequest EmulatorFileRequest(const std::string& currentFile, const std::string& lastEmuDir)
{
    if (currentFile.empty())
        return {kExecutablesFilter, lastEmuDir.empty() ? kProgramsFolder : lastEmuDir, "", true, kExecutablesFirst};
    return {kExecutablesFilter, FolderPart(currentFile), FileNamePart(currentFile), true, kExecutablesFirst};
}

FolderRequest WorkingFolderRequest(const std::string& lastEmuDir)
{
    return {lastEmuDir};
}

std::optional<std::string> BrowseEmulatorFile(Prompts& prompts, Catalogue& catalogue, const std::string& currentFile)
{
    std::optional<std::string> chosen = prompts.ChooseFile(EmulatorFileRequest(currentFile, catalogue.LastEmuDir));
    if (chosen)
        catalogue.LastEmuDir = IncludeBackslash(FolderPart(*chosen));
    return chosen;
}

std::optional<std::string> BrowseWorkingFolder(Prompts& prompts, const Catalogue& catalogue)
{
    std::optional<std::string> chosen = prompts.ChooseFolder(WorkingFolderRequest(catalogue.LastEmuDir));
    if (!chosen)
        return std::nullopt;
    return IncludeBackslash(*chosen);
}

DfsControlStates DfsHandlingStates(bool dfsRomsPresent, bool handleDfsChecked)
{
    // Without the DFS ROM images the whole tab stays disabled whatever the stored flag says.
    return {dfsRomsPresent, dfsRomsPresent && handleDfsChecked};
}

} // namespace vorbix
