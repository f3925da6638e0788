#include "editing/CategoryEditing.h"

#include "catalogue/Utilities.h"
#include "editing/ListRows.h"

namespace vorbix {

CategoryEdit AddCategory(NameList& list, const std::string& fieldText)
{
    const std::string name = TrimTrailingSpaces(fieldText);
    if (name.empty() || list.Contains(name))
        return {};
    CategoryEdit edit;
    edit.Change.Categories = true;
    edit.Row = static_cast<int>(list.Add(name));
    return edit;
}

CategoryEdit DeleteCategory(NameList& list, int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= list.size())
        return {};
    const int rowCount = static_cast<int>(list.size());
    list.Delete(static_cast<std::size_t>(row));
    CategoryEdit edit;
    edit.Change.Categories = true;
    edit.Row = RowAfterDelete(row, rowCount);
    return edit;
}

} // namespace vorbix
