#include "browsing/SelectorEntries.h"

#include "browsing/FilterEvaluation.h"
#include "catalogue/Utilities.h"
#include "fastpath/CollationTable.h"

#include <algorithm>

namespace vorbix {

namespace {

void SortIgnoringCase(StringList& names)
{
    std::stable_sort(names.begin(), names.end(),
        [](const std::string& a, const std::string& b) { return CompareTextIgnoreCase(a, b) < 0; });
}

} // namespace

StringList FilterSelectorEntries(const std::vector<FilterRecord>& filterList)
{
    StringList names;
    names.reserve(filterList.size());
    for (const FilterRecord& filter : filterList)
        names.push_back(filter.FilterName);
    SortIgnoringCase(names);
    names.insert(names.begin(), kAllFilterName);
    return names;
}

std::string ValidFilterSelectorText(const StringList& entries, const std::string& text)
{
    return IsEntryIgnoringCase(entries, text) ? text : std::string(kAllFilterName);
}

std::string ValidEmulatorSelectorText(const StringList& entries, const std::string& text)
{
    return IsEntryIgnoringCase(entries, text) ? text : std::string();
}

} // namespace vorbix
