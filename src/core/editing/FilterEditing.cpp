#include "editing/FilterEditing.h"

#include "browsing/FilterEvaluation.h"
#include "catalogue/Utilities.h"

#include <utility>

namespace vorbix {

namespace {

void CorrectComparisons(FilterRecord& record)
{
    record.FPubComp = StoredComparison(record.FPubComp);
    record.FTypeComp = StoredComparison(record.FTypeComp);
}

ListEdit Edited(const Catalogue& catalogue, int eidx)
{
    ListEdit edit;
    edit.Change.Filters = true;
    edit.EIdx = eidx;
    edit.Rows = FilterListRows(catalogue.FilterList);
    edit.SelectRow = RowOfEIdx(edit.Rows, eidx);
    return edit;
}

} // namespace

std::vector<ListRow> FilterListRows(const std::vector<FilterRecord>& filterList)
{
    return ListRowsOf(filterList, &FilterRecord::FilterName);
}

// The values are stored as they stand. OK pressed while a value box has the focus counts
// as leaving it, so the window runs CheckFilterValue on that box first; a box the user did
// not enter keeps its value, so a filter naming a since-deleted publisher is not turned
// into "any" by an unrelated edit.
ListEdit AddFilter(Catalogue& catalogue, FilterRecord record)
{
    CorrectComparisons(record);
    catalogue.FilterList.push_back(std::move(record));
    return Edited(catalogue, static_cast<int>(catalogue.FilterList.size()) - 1);
}

ListEdit ReplaceFilter(Catalogue& catalogue, int eidx, FilterRecord record)
{
    if (!ValidIndex(catalogue.FilterList, eidx))
        return {{}, -1, FilterListRows(catalogue.FilterList), -1};
    CorrectComparisons(record);
    catalogue.FilterList[static_cast<std::size_t>(eidx)] = std::move(record);
    return Edited(catalogue, eidx);
}

ListEdit DeleteFilter(Catalogue& catalogue, int eidx)
{
    return DeleteListRecord(catalogue.FilterList, eidx, &FilterListRows, &CatalogueChange::Filters);
}

std::string StoredComparison(const std::string& typed)
{
    return typed == "=" || typed == "<>" ? typed : std::string("=");
}

StringList FilterValueEntries(const NameList& names)
{
    StringList entries;
    entries.reserve(names.size() + 1);
    entries.push_back(kAnyValue);
    entries.insert(entries.end(), names.begin(), names.end());
    return entries;
}

std::string CheckFilterValue(const StringList& entries, const std::string& text)
{
    return IsEntryIgnoringCase(entries, text) ? text : std::string(kAnyValue);
}

} // namespace vorbix
