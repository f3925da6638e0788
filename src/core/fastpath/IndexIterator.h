#pragma once
// A forward iterator over anything that gives its items by index (operator[] and size()),
// for the compact lists that keep their items as places in one buffer.

#include <cstddef>

namespace vorbix {

template <typename Container, typename Value>
class IndexIterator {
public:
    using value_type = Value;
    using difference_type = std::ptrdiff_t;
    IndexIterator() = default;
    IndexIterator(const Container* container, std::size_t index) : container_(container), index_(index) {}
    decltype(auto) operator*() const { return (*container_)[index_]; }
    IndexIterator& operator++()
    {
        ++index_;
        return *this;
    }
    IndexIterator operator++(int)
    {
        IndexIterator before = *this;
        ++index_;
        return before;
    }
    bool operator==(const IndexIterator& other) const = default;

private:
    const Container* container_ = nullptr;
    std::size_t index_ = 0;
};

} // namespace vorbix
