#pragma once
// A stable sort for many texts that lie far apart in memory. It first orders the items by
// their sort prefixes alone, which sit beside the items, and then sorts each run of items
// with equal prefixes by the full comparison. A run is short (the programs of one
// publisher, say), so its texts stay in the cache while it is sorted, where one sort of
// all items would fetch two texts from memory for most of its comparisons.

#include "fastpath/CollationTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <tuple>
#include <utility>
#include <vector>

namespace vorbix {

// Sorts [first, last) stably by less. prefixOf(item) must give the SortPrefix of the text
// that less compares first, so that items whose prefixes differ compare as their prefixes.
template <typename Iterator, typename PrefixOf, typename Less>
void StableSortByPrefix(Iterator first, Iterator last, PrefixOf prefixOf, Less less)
{
    using Item = typename std::iterator_traits<Iterator>::value_type;
    const auto count = static_cast<std::size_t>(last - first);
    if (count < 2)
        return;
    // Prefixes order the items only when all are of one kind: two of different kinds (an
    // ASCII and a Latin text, or a text only the collator reads) say nothing.
    const std::uint64_t kind = prefixOf(*first).low & 0xFF;
    const bool oneKind =
        kind != 0 && std::all_of(first, last, [&](const Item& item) { return (prefixOf(item).low & 0xFF) == kind; });
    if (!oneKind) {
        std::stable_sort(first, last, less);
        return;
    }
    struct Keyed {
        std::uint64_t high;
        std::uint64_t low;
        std::size_t index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const SortPrefix prefix = prefixOf(first[static_cast<std::ptrdiff_t>(i)]);
        keyed.push_back({prefix.high, prefix.low, i});
    }
    // The index breaks ties, which keeps equal prefixes in their first order.
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return std::tie(a.high, a.low, a.index) < std::tie(b.high, b.low, b.index);
    });
    std::vector<Item> ordered;
    ordered.reserve(count);
    for (const Keyed& k : keyed)
        ordered.push_back(std::move(first[static_cast<std::ptrdiff_t>(k.index)]));
    std::move(ordered.begin(), ordered.end(), first);
    for (std::size_t begin = 0; begin < count;) {
        std::size_t end = begin + 1;
        while (end < count && keyed[end].high == keyed[begin].high && keyed[end].low == keyed[begin].low)
            ++end;
        if (end - begin > 1)
            std::stable_sort(first + static_cast<std::ptrdiff_t>(begin), first + static_cast<std::ptrdiff_t>(end),
                less);
        begin = end;
    }
}

} // namespace vorbix
