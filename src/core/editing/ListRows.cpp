#include "editing/ListRows.h"

#include "platform/Collation.h"

#include <algorithm>

namespace vorbix {

std::vector<ListRow> SortedListRows(const std::vector<std::string>& captions)
{
    std::vector<ListRow> rows;
    rows.reserve(captions.size());
    for (std::size_t i = 0; i < captions.size(); ++i)
        rows.push_back({captions[i], static_cast<int>(i)});
    // Locale-aware and case-sensitive, like the category lists: the list dialogs use the
    // same plain list sort; stable, so rows of equal names stay in store order.
    std::stable_sort(rows.begin(), rows.end(),
        [](const ListRow& a, const ListRow& b) { return CompareText(a.Caption, b.Caption) < 0; });
    return rows;
}

int RowOfEIdx(const std::vector<ListRow>& rows, int eidx)
{
    auto it = std::find_if(rows.begin(), rows.end(), [eidx](const ListRow& row) { return row.EIdx == eidx; });
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

int RowAfterDelete(int deletedRow, int rowCount)
{
    const int remaining = rowCount - 1;
    if (remaining <= 0)
        return -1;
    return std::min(deletedRow, remaining - 1);
}

} // namespace vorbix
