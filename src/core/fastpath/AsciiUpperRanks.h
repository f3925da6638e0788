#pragma once
// Ranks of texts in the order of the ASCII upper-casing comparison, so that a list can be
// sorted by plain numbers instead of comparing its texts again and again.

#include <cstdint>
#include <string_view>
#include <vector>

namespace vorbix {

// The rank of each text: texts that CompareAsciiUpper finds equal get the same rank, and a
// text ranks below another exactly when it compares before it. Each class of equal texts
// is sorted once.
std::vector<std::uint32_t> AsciiUpperRanks(const std::vector<std::string_view>& texts);

} // namespace vorbix
