#pragma once
// The choices of the three report dialogs as plain values, filled alike by the windows
// and the command line.

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace vorbix {

// "Order by": the heading of a program is publisher - program, or program - publisher.
enum class ReportOrder { Publisher, Program };

struct ProgramsReportOptions {
    ReportOrder Order = ReportOrder::Publisher;
    std::string FilterName = "all";
    bool IncludeType = true;
    bool IncludeInformation = true;
    bool IncludeWarnings = true;
    bool IncludeLinks = true;

    bool operator==(const ProgramsReportOptions&) const = default;
};

struct CompatibilityReportOptions {
    ReportOrder Order = ReportOrder::Publisher;
    std::string FilterName = "all";

    bool operator==(const CompatibilityReportOptions&) const = default;
};

// The twelve tests of the links report, in the order their sections are written.
enum class LinksTest {
    BrokenProgs,
    BrokenHyLinks,
    ProgsNoPubs,
    ProgsNoTypes,
    ProgsPubsNoExists,
    ProgsTypesNoExists,
    ProgsNoPics,
    ProgsNoBoxCovers,
    UnusedPublishers,
    UnusedTypes,
    FiltersNoPubs,
    FiltersNoTypes,
};
inline constexpr std::size_t kLinksTestCount = 12;

// The control name of a test's box and its caption, which is also its section title.
struct LinksTestNames {
    const char* ControlName;
    const char* Caption;
};
const LinksTestNames& NamesOf(LinksTest test);
std::optional<LinksTest> LinksTestByControlName(const std::string& controlName);

struct LinksReportOptions {
    std::string FilterName = "all";
    std::array<bool, kLinksTestCount> Tests = {true, true, true, true, true, true, true, true, true, true, true, true};

    bool Checked(LinksTest test) const { return Tests[static_cast<std::size_t>(test)]; }
    void SetChecked(LinksTest test, bool checked) { Tests[static_cast<std::size_t>(test)] = checked; }

    bool operator==(const LinksReportOptions&) const = default;
};

} // namespace vorbix
