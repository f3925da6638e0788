#pragma once
// The list dialog "Emulators": EmuList by name; New and Edit go through the emulator
// dialog, and the programs' compatibility warnings follow an added or renamed emulator.

#include "launching/RecordListForm.h"

namespace vorbix {
struct Catalogue;
} // namespace vorbix

namespace vorbix::gui {

class TSingleEmuOptionsForm;

class TEmuOptionsForm : public TRecordListForm {
    Q_OBJECT
public:
    // The list shows no box and opens nothing itself: the single-record dialog does.
    TEmuOptionsForm(vorbix::Catalogue& catalogue, TSingleEmuOptionsForm& single, QWidget* parent = nullptr);

protected:
    std::vector<ListRow> StoreRows() const override;
    std::optional<ListEdit> NewRecord() override;
    std::optional<ListEdit> EditRecord(int eidx) override;
    ListEdit DeleteRecord(int eidx) override;

private:
    vorbix::Catalogue& catalogue_;
    TSingleEmuOptionsForm& single_;
};

} // namespace vorbix::gui
