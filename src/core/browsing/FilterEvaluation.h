#pragma once
// What a named filter selects: the conditions a filter name stands for, and the test
// of one program against them. "all" is the reserved name for no filter.

#include "catalogue/Records.h"

#include <string>
#include <vector>

namespace vorbix {

inline constexpr const char* kAllFilterName = "all";
inline constexpr const char* kAnyValue = "any";

// The conditions of one filter, copied out of its record.
struct FilterConditions {
    std::string PublisherValue = kAnyValue;
    std::string PublisherOperator = "=";
    std::string TypeValue = kAnyValue;
    std::string TypeOperator = "=";
    FavouriteCondition Favourite = FavouriteCondition::fcDontCare;

    bool operator==(const FilterConditions&) const = default;
};

// "all" gives the match-everything conditions. Any other name gives the conditions of the
// last filter with exactly that name, else those of the first filter; with no filters at
// all it gives the match-everything conditions too.
FilterConditions LookupFilter(const std::vector<FilterRecord>& filterList, const std::string& filterName);

bool ProgramMatchesFilter(const FilterConditions& conditions, const std::string& publisher,
    const std::string& programType, bool favourite);

} // namespace vorbix
