#pragma once
// The filter list dialog and the single-filter dialog, without their windows: the list's
// rows, New, Edit and Delete on FilterList, the value drop-downs' entries and the checks on
// the typed comparisons and values. A new filter starts from a default FilterRecord
// ("any" / "=" / "any" / "=" / fcDontCare). Filters touch nothing else in the catalogue.

#include "catalogue/Catalogue.h"
#include "editing/ListRows.h"

#include <string>
#include <vector>

namespace vorbix {

// The list dialog's rows: one per FilterRecord, sorted by FilterName.
std::vector<ListRow> FilterListRows(const std::vector<FilterRecord>& filterList);

// New on OK: appends the record with its comparisons corrected; its row is selected.
ListEdit AddFilter(Catalogue& catalogue, FilterRecord record);
// Edit on OK: overwrites the record at eidx (comparisons corrected); its row is selected.
// An eidx outside FilterList changes nothing.
ListEdit ReplaceFilter(Catalogue& catalogue, int eidx, FilterRecord record);
// Delete: removes the record at eidx; the row that took its place is selected (the one
// before it when it was the last row).
ListEdit DeleteFilter(Catalogue& catalogue, int eidx);

// A comparison as stored: exactly "=" or "<>" stays, any other text becomes "=".
std::string StoredComparison(const std::string& typed);

// The entries of a value drop-down: "any", then the category names in their list order.
StringList FilterValueEntries(const NameList& names);

// Leaving a value drop-down: its text stays when it equals an entry ignoring case (as
// typed, in its own letter case), else it becomes "any". OK with the focus in a value box
// counts as leaving it; Add and Replace do not check the values again.
std::string CheckFilterValue(const StringList& entries, const std::string& text);

} // namespace vorbix
