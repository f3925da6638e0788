#pragma once
// The list dialog "Emulators": EmuList by name; New and Edit go through the emulator
// dialog, and the programs' compatibility warnings follow an added or renamed emulator.

#include "launching/ListOptionsForm.h"

namespace vorbix {
struct Catalogue;
class Prompts;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class TSingleEmuOptionsForm;

class TEmuOptionsForm : public TListOptionsForm {
    Q_OBJECT
public:
    // The list shows no box and opens nothing itself: the emulator dialog has the prompts
    // and the shell it needs.
    TEmuOptionsForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell,
        TSingleEmuOptionsForm& single, QWidget* parent = nullptr);

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
