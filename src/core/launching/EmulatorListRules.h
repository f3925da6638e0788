#pragma once
// Rules of the emulator list that need no window: which emulators exist, keeping the
// programs' compatibility warnings in step with the emulator names, and which row a list
// dialog selects after a deletion.

#include "catalogue/Catalogue.h"

#include <string>
#include <vector>

namespace vorbix {

// Some emulator has exactly this name (case counts).
bool EmulatorExists(const std::vector<EmuRecord>& emuList, const std::string& name);

// After a New (both names empty) or an Edit (the old and new name): a warning for an
// existing emulator stays, a warning for OldName moves to NewName when both are given,
// and every other warning is dropped with its text.
void SyncProgramWarnings(Catalogue& catalogue, const std::string& OldName, const std::string& NewName);

// The row to select after deleting the row at deletedRow from a list of rowCount rows:
// the row that moves into its place, or the new last row when the last row went; -1 when
// the list is now empty.
int RowAfterDelete(int deletedRow, int rowCount);

} // namespace vorbix
