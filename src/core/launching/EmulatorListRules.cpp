#include "launching/EmulatorListRules.h"

#include <algorithm>

namespace vorbix {

namespace {

void SyncWarnings(ProgramRecord& program, const std::vector<EmuRecord>& emuList,
    const std::string& oldName, const std::string& newName)
{
    StringList& emus = program.EmuWarningEmus;
    StringList& texts = program.EmuWarningTexts;
    std::size_t i = 0;
    while (i < emus.size()) {
        if (EmulatorExists(emuList, emus[i])) {
            ++i;
        } else if (!oldName.empty() && !newName.empty() && emus[i] == oldName) {
            emus[i] = newName;
            ++i;
        } else {
            emus.erase(emus.begin() + static_cast<std::ptrdiff_t>(i));
            if (i < texts.size())
                texts.erase(texts.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

} // namespace

bool EmulatorExists(const std::vector<EmuRecord>& emuList, const std::string& name)
{
    return std::any_of(emuList.begin(), emuList.end(), [&](const EmuRecord& e) { return e.EmuName == name; });
}

void SyncProgramWarnings(Catalogue& catalogue, const std::string& OldName, const std::string& NewName)
{
    for (ProgramRecord& program : catalogue.ProgramList)
        SyncWarnings(program, catalogue.EmuList, OldName, NewName);
}

int RowAfterDelete(int deletedRow, int rowCount)
{
    const int remaining = rowCount - 1;
    if (remaining <= 0)
        return -1;
    return std::min(deletedRow, remaining - 1);
}

} // namespace vorbix
