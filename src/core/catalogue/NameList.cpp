#include "catalogue/NameList.h"

#include "platform/Collation.h"

#include <algorithm>

namespace vorbix {

std::size_t NameList::Add(const std::string& name)
{
    auto pos = std::upper_bound(items_.begin(), items_.end(), name,
        [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    // begin() only after the insert: the insert may move the entries.
    const auto inserted = items_.insert(pos, name);
    return static_cast<std::size_t>(inserted - items_.begin());
}

void NameList::AddAll(std::vector<std::string> names)
{
    const auto less = [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; };
    if (items_.empty()) {
        items_ = std::move(names);
    } else {
        items_.reserve(items_.size() + names.size());
        for (std::string& name : names)
            items_.push_back(std::move(name));
    }
    // The lists of a saved catalogue come in order already: one comparison per name finds
    // that, where the sort takes a dozen or more. Stable: equal names keep their order, the
    // names already in first.
    if (!std::is_sorted(items_.begin(), items_.end(), less))
        std::stable_sort(items_.begin(), items_.end(), less);
}

void NameList::Delete(std::size_t index)
{
    if (index < items_.size())
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

int NameList::IndexOf(const std::string& name) const
{
    auto it = std::find(items_.begin(), items_.end(), name);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

} // namespace vorbix
