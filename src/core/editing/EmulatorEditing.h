#pragma once
// The emulator list dialog and the single-emulator dialog, without their windows: the list's
// rows, New, Edit and Delete on EmuList, keeping the programs' compatibility warnings in
// step with the emulator names, the choosers of the emulator dialog and its DFS controls.
// New starts from a default EmuRecord (DfsName "DFS.ROM", E00DfsName "E00DFS.ROM", all
// other texts empty, all flags off).

#include "catalogue/Catalogue.h"
#include "editing/ListRows.h"
#include "host/Prompts.h"

#include <optional>
#include <string>
#include <vector>

namespace vorbix {

// Some emulator has exactly this name (case counts).
bool EmulatorExists(const std::vector<EmuRecord>& emuList, const std::string& name);

// After a New (both names empty) or an Edit (the old and new name): a warning for an
// existing emulator stays, a warning for oldName moves to newName when both are given,
// and every other warning is dropped with its text. True when some program's warnings changed.
bool SyncProgramWarnings(Catalogue& catalogue, const std::string& oldName, const std::string& newName);

// The list dialog's rows: one per EmuRecord, sorted by EmuName.
std::vector<ListRow> EmulatorListRows(const std::vector<EmuRecord>& emuList);

// New on OK: appends the record, then brings the warnings into line (empty names). The
// new record's row is selected.
ListEdit AddEmulator(Catalogue& catalogue, EmuRecord record);
// Edit on OK: overwrites the record at eidx, then carries its warnings from the old name
// to the new one. The record's row is selected. An eidx outside EmuList changes nothing.
ListEdit ReplaceEmulator(Catalogue& catalogue, int eidx, EmuRecord record);
// Delete: removes the record at eidx; the programs' warnings are left as they are. The row
// that took its place is selected (the one before it when it was the last row).
ListEdit DeleteEmulator(Catalogue& catalogue, int eidx);

// The "File Name" chooser: in the current file's folder with that file preset, else in
// lastEmuDir with nothing preset.
FileOpenRequest EmulatorFileRequest(const std::string& currentFile, const std::string& lastEmuDir);
// The two working-folder choosers, both starting at lastEmuDir.
FolderRequest WorkingFolderRequest(const std::string& lastEmuDir);

// "..." beside "File Name": the chosen path for the box, or nothing when cancelled; a
// choice makes LastEmuDir the chosen file's folder.
std::optional<std::string> BrowseEmulatorFile(Prompts& prompts, Catalogue& catalogue, const std::string& currentFile);
// "..." beside a working folder: the chosen folder with a trailing separator, or nothing.
// LastEmuDir is not changed.
std::optional<std::string> BrowseWorkingFolder(Prompts& prompts, const Catalogue& catalogue);

// Which controls of the "DFS handling" tab are enabled.
struct DfsControlStates {
    bool HandleDfs = false; // the check box "Enable DFS handling by Vorbix" and the tab
    bool Names = false; // the two DFS name boxes with their captions and notes

    bool operator==(const DfsControlStates&) const = default;
};
DfsControlStates DfsHandlingStates(bool dfsRomsPresent, bool handleDfsChecked);

} // namespace vorbix
