#pragma once
// The five panels of the main window's status bar.

#include "catalogue/Records.h"

#include <array>
#include <string>

namespace vorbix {

using StatusPanels = std::array<std::string, 5>;

// The panels for a selected program in a list of rowCount rows: " " + type, " Favourite",
// " E00", "!" when it has comment lines or document links, and the row count followed by
// " Programs  " (also for one row).
StatusPanels StatusBarTexts(const ProgramRecord& program, int rowCount);
// The fifth panel: the row count followed by " Programs  ".
std::string ProgramCountText(int rowCount);

} // namespace vorbix
