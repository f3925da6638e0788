#pragma once
// What an editing operation changed in the catalogue, and what the main window shows
// afterwards. The main window applies a change in one place: it rebuilds the program list
// when asked, reveals the row asked for, and refreshes the details after any change to
// programs; the after-close steps of each dialog (refilling the selectors) stay its own.

#include <optional>

namespace vorbix {

struct CatalogueChange {
    bool Programs = false; // ProgramList records added, changed or removed (ProgramsChanged was set)
    bool RebuildProgramList = false; // the main window's rows must be rebuilt (RefillProgramList)
    int RevealPIdx = -1; // after the rebuild: select the row of this program when listed
    std::optional<int> RevealRow; // after the rebuild: select this row position instead (-1: none)
    bool Emulators = false;
    bool Filters = false;
    bool Categories = false;
    bool Options = false;

    // Collects the changes of several commands (a list dialog applies each at once); the
    // reveal of the later change wins.
    CatalogueChange& operator|=(const CatalogueChange& other);

    bool operator==(const CatalogueChange&) const = default;
};

} // namespace vorbix
