#pragma once
// A list of category names (publishers or program types) kept sorted by the
// locale-aware, case-sensitive comparison at every insertion.

#include <cstddef>
#include <string>
#include <vector>

namespace vorbix {

class NameList {
public:
    // Inserts the name at its sorted place (after any equal names); duplicates are allowed.
    // Returns the index it was inserted at.
    std::size_t Add(const std::string& name);
    // Adds many names at once, in the order that adding them one by one gives (each after
    // the equal names already in), in n log n rather than a move of the list per name.
    void AddAll(std::vector<std::string> names);
    void Delete(std::size_t index);
    void Clear() { items_.clear(); }

    // Index of the first entry equal to the name exactly, or -1.
    int IndexOf(const std::string& name) const;
    bool Contains(const std::string& name) const { return IndexOf(name) >= 0; }

    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const std::string& operator[](std::size_t index) const { return items_[index]; }
    const std::vector<std::string>& Items() const { return items_; }
    std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::string>::const_iterator end() const { return items_.end(); }

private:
    std::vector<std::string> items_;
};

} // namespace vorbix
