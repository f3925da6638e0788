#include "browsing/FilterEvaluation.h"

namespace vorbix {

namespace {

FilterConditions ConditionsOf(const FilterRecord& filter)
{
    return {filter.FPublisher, filter.FPubComp, filter.FType, filter.FTypeComp, filter.FFavourite};
}

// One text condition: "=" with "any" places none, "<>" with "any" matches nothing, and an
// operator other than "=" and "<>" places none.
bool TextConditionHolds(const std::string& value, const std::string& op, const std::string& actual)
{
    if (op == "=")
        return value == kAnyValue || actual == value;
    if (op == "<>")
        return value != kAnyValue && actual != value;
    return true;
}

bool FavouriteConditionHolds(FavouriteCondition condition, bool favourite)
{
    switch (condition) {
    case FavouriteCondition::fcDontCare: return true;
    case FavouriteCondition::fcFalse: return !favourite;
    case FavouriteCondition::fcTrue: return favourite;
    }
    return false; // a byte value outside the three conditions selects nothing
}

} // namespace

FilterConditions LookupFilter(const std::vector<FilterRecord>& filterList, const std::string& filterName)
{
    // With no filters there is no first entry to fall back on; matching everything is the
    // one answer that hides no program.
    if (filterName == kAllFilterName || filterList.empty())
        return FilterConditions{};
    const FilterRecord* chosen = &filterList.front();
    for (const FilterRecord& filter : filterList)
        if (filter.FilterName == filterName)
            chosen = &filter;
    return ConditionsOf(*chosen);
}

bool ProgramMatchesFilter(const FilterConditions& conditions, const std::string& publisher,
    const std::string& programType, bool favourite)
{
    return TextConditionHolds(conditions.PublisherValue, conditions.PublisherOperator, publisher)
        && TextConditionHolds(conditions.TypeValue, conditions.TypeOperator, programType)
        && FavouriteConditionHolds(conditions.Favourite, favourite);
}

} // namespace vorbix
