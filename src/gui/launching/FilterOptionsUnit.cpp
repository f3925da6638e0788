#include "launching/FilterOptionsUnit.h"

#include "catalogue/Catalogue.h"
#include "editing/FilterEditing.h"
#include "launching/SingleFilterOptionsUnit.h"

namespace vorbix::gui {

TFilterOptionsForm::TFilterOptionsForm(Catalogue& catalogue, TSingleFilterOptionsForm& single, QWidget* parent)
    : TRecordListForm("FilterOptionsForm", "Filters", parent), catalogue_(catalogue), single_(single)
{}

std::vector<ListRow> TFilterOptionsForm::StoreRows() const
{
    return FilterListRows(catalogue_.FilterList);
}

std::optional<ListEdit> TFilterOptionsForm::NewRecord()
{
    const std::optional<FilterRecord> record = single_.Edit(FilterRecord{});
    if (!record)
        return std::nullopt;
    return AddFilter(catalogue_, *record);
}

std::optional<ListEdit> TFilterOptionsForm::EditRecord(int eidx)
{
    if (!ValidIndex(catalogue_.FilterList, eidx))
        return std::nullopt;
    const std::optional<FilterRecord> record = single_.Edit(catalogue_.FilterList[static_cast<std::size_t>(eidx)]);
    if (!record)
        return std::nullopt;
    return ReplaceFilter(catalogue_, eidx, *record);
}

ListEdit TFilterOptionsForm::DeleteRecord(int eidx)
{
    return DeleteFilter(catalogue_, eidx);
}

} // namespace vorbix::gui
