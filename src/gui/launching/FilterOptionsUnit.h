#pragma once
// The list dialog "Filters": FilterList by name; New and Edit go through the filter
// dialog; a filter touches nothing else in the catalogue.

#include "launching/RecordListForm.h"

namespace vorbix {
struct Catalogue;
} // namespace vorbix

namespace vorbix::gui {

class TSingleFilterOptionsForm;

class TFilterOptionsForm : public TRecordListForm {
    Q_OBJECT
public:
    // The list shows no box and opens nothing itself: the single-record dialog does.
    TFilterOptionsForm(vorbix::Catalogue& catalogue, TSingleFilterOptionsForm& single, QWidget* parent = nullptr);

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
