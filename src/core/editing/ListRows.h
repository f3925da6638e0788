#pragma once
// The rows of the emulator and filter list dialogs, and the row rules that every list of
// the editing dialogs shares: which row is selected after a deletion, and when a typed
// drop-down text counts as one of its entries.

#include "editing/CatalogueChange.h"

#include <string>
#include <vector>

namespace vorbix {

// One row of a list dialog: the record's name and, hidden, its index in its store.
struct ListRow {
    std::string Caption;
    int EIdx = -1;

    bool operator==(const ListRow&) const = default;
};

// What a list dialog shows after one of its commands.
struct ListEdit {
    CatalogueChange Change;
    int EIdx = -1; // the record added or replaced; -1 after a delete
    std::vector<ListRow> Rows; // the list's rows, refilled and sorted
    int SelectRow = -1; // the row to reveal (RevealListRow); -1 for none
};

// One row per caption, in store order, then sorted by caption.
std::vector<ListRow> SortedListRows(const std::vector<std::string>& captions);

// The row whose hidden index is eidx, or -1.
int RowOfEIdx(const std::vector<ListRow>& rows, int eidx);

// The row to select after deleting the row at deletedRow from a list of rowCount rows:
// the row that moves into its place, or the new last row when the last row went; -1 when
// the list is now empty.
int RowAfterDelete(int deletedRow, int rowCount);

// The rows of a store captioned with each record's name field.
template <typename Record>
std::vector<ListRow> ListRowsOf(const std::vector<Record>& store, std::string Record::*name)
{
    std::vector<std::string> captions;
    captions.reserve(store.size());
    for (const Record& record : store)
        captions.push_back(record.*name);
    return SortedListRows(captions);
}

// Whether index names a record of the store.
template <typename Record>
bool ValidIndex(const std::vector<Record>& store, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < store.size();
}

// A list dialog's Delete, without confirmation: removes the record at eidx from its store;
// the rows are refilled and the row that took its place is the one to reveal
// (RowAfterDelete). changed names the flag of the store. An eidx outside the store
// changes nothing.
template <typename Record>
ListEdit DeleteListRecord(std::vector<Record>& store, int eidx,
    std::vector<ListRow> (*rowsOf)(const std::vector<Record>&), bool CatalogueChange::*changed)
{
    if (!ValidIndex(store, eidx))
        return {{}, -1, rowsOf(store), -1};
    const std::vector<ListRow> before = rowsOf(store);
    const int deletedRow = RowOfEIdx(before, eidx);
    store.erase(store.begin() + eidx);
    ListEdit edit;
    edit.Change.*changed = true;
    edit.Rows = rowsOf(store);
    edit.SelectRow = RowAfterDelete(deletedRow, static_cast<int>(before.size()));
    return edit;
}

} // namespace vorbix
