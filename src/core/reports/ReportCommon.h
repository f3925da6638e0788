#pragma once
// Pieces the three report generators share.

#include "catalogue/Catalogue.h"
#include "reports/ReportOptions.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vorbix {

// Publisher + " - " + program, or program + " - " + publisher; empty fields stay empty.
std::string ReportHeading(const ProgramRecord& program, ReportOrder order);
// The same, appended to out; and its size.
void AppendReportHeading(std::string& out, const ProgramRecord& program, ReportOrder order);
std::size_t ReportHeadingSize(const ProgramRecord& program);

// The programs the named filter selects, in ProgramList order.
std::vector<const ProgramRecord*> SelectedPrograms(const Catalogue& catalogue, const std::string& filterName);

} // namespace vorbix
