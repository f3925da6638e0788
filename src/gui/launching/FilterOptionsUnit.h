#pragma once
// The list dialog "Filters": FilterList by name; New and Edit go through the filter
// dialog; a filter touches nothing else in the catalogue.

#include "launching/ListOptionsForm.h"

namespace vorbix {
struct Catalogue;
class Prompts;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class TSingleFilterOptionsForm;

class TFilterOptionsForm : public TListOptionsForm {
    Q_OBJECT
public:
    // The list shows no box and opens nothing itself: the filter dialog has the prompts
    // and the shell it needs.
    TFilterOptionsForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell,
        TSingleFilterOptionsForm& single, QWidget* parent = nullptr);

protected:
    std::vector<ListRow> StoreRows() const override;
    std::optional<ListEdit> NewRecord() override;
    std::optional<ListEdit> EditRecord(int eidx) override;
    ListEdit DeleteRecord(int eidx) override;

private:
    vorbix::Catalogue& catalogue_;
    TSingleFilterOptionsForm& single_;
};

} // namespace vorbix::gui
