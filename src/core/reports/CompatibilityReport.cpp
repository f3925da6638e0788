// The compatibility report: every warning of the programs a filter selects, then the
// count of tested programs and the count of warnings per defined emulator.

#include "catalogue/Utilities.h"
#include "platform/Collation.h"
#include "platform/FileSystem.h"
#include "reports/Main_ReportsUnit.h"
#include "reports/ReportCommon.h"
#include "reports/ReportLines.h"

#include <algorithm>
#include <unordered_map>

namespace vorbix {

namespace {

// 20 spaces and the tag: a program's warnings sort right after its heading.
const std::string kWarnMarker = "                    #1Warn#123@#";
constexpr int kWarn = 1;

// A warning line loses its key and marker and is indented; a heading stays.
StringList Rewrite(const ReportLines& report)
{
    StringList out;
    out.reserve(report.size());
    for (const ReportLines::Line& line : report.Lines()) {
        if (line.Tag == kWarn)
            out.push_back("   " + std::string(report.After(line).substr(1)));
        else
            out.emplace_back(report.Text(line));
    }
    return out;
}

} // namespace

std::string CompatibilityReportBytes(const Catalogue& catalogue, const CompatibilityReportOptions& options)
{
    // Warnings are counted by exact emulator name; every definition of a name gets its full count.
    std::unordered_map<std::string, long long> warningsPerName;
    long long tested = 0;
    ReportLines lines;
    for (const ProgramRecord* p : SelectedPrograms(catalogue, options.FilterName)) {
        ++tested;
        if (p->EmuWarningEmus.empty())
            continue;
        const std::string heading = ReportHeading(*p, options.Order);
        lines.BeginGroup();
        lines.SetHeading(heading);
        lines.Add(heading);
        for (std::size_t i = 0; i < p->EmuWarningEmus.size(); ++i) {
            const std::string& emu = p->EmuWarningEmus[i];
            lines.AddMarked(heading, kWarnMarker, kWarn, " " + emu + ": " + PairedEntry(p->EmuWarningTexts, i));
            ++warningsPerName[emu];
        }
    }
    lines.Sort();
    StringList out = Rewrite(lines);
    out.insert(out.end(), {"", "", "Tested: " + std::to_string(tested) + " programs", "Number of warnings:"});
    for (const std::string& name : SortedEmulatorNames(catalogue.EmuList)) {
        auto counted = warningsPerName.find(name);
        const long long count = counted == warningsPerName.end() ? 0 : counted->second;
        out.push_back("   " + name + ": " + std::to_string(count));
    }
    return JoinLinesCrLf(out);
}

} // namespace vorbix
