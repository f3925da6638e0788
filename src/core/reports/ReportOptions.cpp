#include "reports/ReportOptions.h"

namespace vorbix {

namespace {

constexpr std::array<LinksTestNames, kLinksTestCount> kLinksTests = {{
    {"BrokenProgs", "Broken program links"},
    {"BrokenHyLinks", "Broken hyperlinks"},
    {"ProgsNoPubs", "Programs without publishers"},
    {"ProgsNoTypes", "Programs without types"},
    {"ProgsPubsNoExists", "Programs with undefined publishers"},
    {"ProgsTypesNoExists", "Programs with undefined types"},
    {"ProgsNoPics", "Programs without pictures"},
    {"ProgsNoBoxCovers", "Programs without box covers"},
    {"UnusedPublishers", "Unused publishers"},
    {"UnusedTypes", "Unused types"},
    {"FiltersNoPubs", "Filters with undefined publishers"},
    {"FiltersNoTypes", "Filters with undefined types"},
}};

} // namespace

const LinksTestNames& NamesOf(LinksTest test)
{
    return kLinksTests[static_cast<std::size_t>(test)];
}

std::optional<LinksTest> LinksTestByControlName(const std::string& controlName)
{
    for (std::size_t i = 0; i < kLinksTestCount; ++i)
        if (controlName == kLinksTests[i].ControlName)
            return static_cast<LinksTest>(i);
    return std::nullopt;
}

} // namespace vorbix
