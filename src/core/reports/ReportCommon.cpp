#include "reports/ReportCommon.h"

#include "browsing/FilterEvaluation.h"

namespace vorbix {

std::string ReportHeading(const ProgramRecord& program, ReportOrder order)
{
    std::string heading;
    heading.reserve(ReportHeadingSize(program));
    AppendReportHeading(heading, program, order);
    return heading;
}

void AppendReportHeading(std::string& out, const ProgramRecord& program, ReportOrder order)
{
    const bool publisherFirst = order == ReportOrder::Publisher;
    out.append(publisherFirst ? program.PublisherName : program.ProgramName)
        .append(" - ")
        .append(publisherFirst ? program.ProgramName : program.PublisherName);
}

std::size_t ReportHeadingSize(const ProgramRecord& program)
{
    return program.PublisherName.size() + 3 + program.ProgramName.size();
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
