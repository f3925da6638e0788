#include "editing/CatalogueChange.h"

namespace vorbix {

CatalogueChange& CatalogueChange::operator|=(const CatalogueChange& other)
{
    Programs = Programs || other.Programs;
    RebuildProgramList = RebuildProgramList || other.RebuildProgramList;
    if (other.RevealPIdx >= 0 || other.RevealRow.has_value()) {
        RevealPIdx = other.RevealPIdx;
        RevealRow = other.RevealRow;
    }
    Emulators = Emulators || other.Emulators;
    Filters = Filters || other.Filters;
    Categories = Categories || other.Categories;
    Options = Options || other.Options;
    return *this;
}

} // namespace vorbix
