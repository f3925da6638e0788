#include "launching/EmuOptionsUnit.h"

#include "catalogue/Catalogue.h"
#include "editing/EmulatorEditing.h"
#include "launching/SingleEmuOptionsUnit.h"

namespace vorbix::gui {

TEmuOptionsForm::TEmuOptionsForm(Catalogue& catalogue, TSingleEmuOptionsForm& single, QWidget* parent)
    : TRecordListForm("EmuOptionsForm", "Emulators", parent), catalogue_(catalogue), single_(single)
{}

std::vector<ListRow> TEmuOptionsForm::StoreRows() const
{
    return EmulatorListRows(catalogue_.EmuList);
}

std::optional<ListEdit> TEmuOptionsForm::NewRecord()
{
    const std::optional<EmuRecord> record = single_.Edit(EmuRecord{});
    if (!record)
        return std::nullopt;
    return AddEmulator(catalogue_, *record);
}

std::optional<ListEdit> TEmuOptionsForm::EditRecord(int eidx)
{
    if (!ValidIndex(catalogue_.EmuList, eidx))
        return std::nullopt;
    const std::optional<EmuRecord> record = single_.Edit(catalogue_.EmuList[static_cast<std::size_t>(eidx)]);
    if (!record)
        return std::nullopt;
    return ReplaceEmulator(catalogue_, eidx, *record);
}

ListEdit TEmuOptionsForm::DeleteRecord(int eidx)
{
    return DeleteEmulator(catalogue_, eidx);
}

} // namespace vorbix::gui
