#include "reports/ReportCommon.h"

#include "browsing/FilterEvaluation.h"

namespace vorbix {

std::string ReportHeading(const ProgramRecord& program, ReportOrder order)
{
    if (order == ReportOrder::Publisher)
        return program.PublisherName + " - " + program.ProgramName;
    return program.ProgramName + " - " + program.PublisherName;
}

std::vector<const ProgramRecord*> SelectedPrograms(const Catalogue& catalogue, const std::string& filterName)
{
    const FilterConditions conditions = LookupFilter(catalogue.FilterList, filterName);
    std::vector<const ProgramRecord*> selected;
    for (const ProgramRecord& p : catalogue.ProgramList)
        if (ProgramMatchesFilter(conditions, p.PublisherName, p.ProgramType, p.Favourite))
            selected.push_back(&p);
    return selected;
}

} // namespace vorbix
