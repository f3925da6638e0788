#pragma once
// The categories window's Add and Delete on one of its two lists (Publishers or
// ProgramTypes). Nothing here touches a program.

#include "catalogue/NameList.h"
#include "editing/CatalogueChange.h"

#include <string>

namespace vorbix {

struct CategoryEdit {
    CatalogueChange Change; // Categories is set when the list changed
    int Row = -1; // the row to reveal afterwards; -1 for none
};

// Adds the edit field's text without its trailing blanks (leading ones stay) at its sorted
// place, and returns that place: the window then empties the field and reveals the row.
// An empty name, or one already present exactly (letter case counts), is refused silently:
// nothing changes and the field keeps its text.
CategoryEdit AddCategory(NameList& list, const std::string& fieldText);

// Removes the entry at row; the entry that moved into its place is revealed, or the one
// before it when the last entry went, none when the list is now empty. A row outside the
// list (no selection) changes nothing.
CategoryEdit DeleteCategory(NameList& list, int row);

} // namespace vorbix
