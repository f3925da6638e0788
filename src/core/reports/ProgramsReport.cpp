// The programs report: the programs a filter selects, each with its type, comment lines,
// compatibility warnings and document names as chosen.

#include "catalogue/Utilities.h"
#include "reports/Main_ReportsUnit.h"
#include "reports/ReportCommon.h"
#include "reports/ReportLines.h"

#include <algorithm>

namespace vorbix {

namespace {

// The markers: 15 spaces and an 18-character tag. The spaces make a program's marked
// lines sort right after its heading and before any heading that merely extends it; the
// digits keep the sections in the order comments, warnings, documents.
const std::string kTypeMarker = "               #Type       #123@#";
const std::string kInfoStartMarker = "               #1InfoStart #123@#";
const std::string kInfoInMarker = "               #2InfoIn    #123@#";
const std::string kInfoEndMarker = "               #3InfoEnd   #123@#";
const std::string kWarnStartMarker = "               #4WarnStart #123@#";
const std::string kWarnInMarker = "               #5WarnIn    #123@#";
const std::string kWarnEndMarker = "               #6WarnEnd   #123@#";
const std::string kLinkStartMarker = "               #7LinkStart #123@#";
const std::string kLinkInMarker = "               #8LinkIn    #123@#";
const std::string kLinkEndMarker = "               #9LinkEnd   #123@#";

enum Tag { kType = 1, kInfoStart, kInfoIn, kInfoEnd, kWarnStart, kWarnIn, kWarnEnd, kLinkStart, kLinkIn, kLinkEnd };

// A line's position in its section, zero-padded to a fixed width so that the sort keeps
// record order for any number of lines and the rewrite can cut it off exactly.
constexpr std::size_t kPositionWidth = 10;

std::string Position(std::size_t index)
{
    const std::string digits = std::to_string(index);
    return std::string(kPositionWidth - std::min(digits.size(), kPositionWidth), '0') + digits;
}

void AddComments(ReportLines& lines, const std::string& key, const ProgramRecord& p)
{
    lines.AddMarked(key, kInfoStartMarker, kInfoStart, "");
    for (std::size_t i = 0; i < p.Comments.size(); ++i)
        lines.AddMarked(key, kInfoInMarker, kInfoIn, Position(i) + p.Comments[i]);
    lines.AddMarked(key, kInfoEndMarker, kInfoEnd, "");
}

void AddWarnings(ReportLines& lines, const std::string& key, const ProgramRecord& p)
{
    lines.AddMarked(key, kWarnStartMarker, kWarnStart, "");
    for (std::size_t i = 0; i < p.EmuWarningEmus.size(); ++i)
        lines.AddMarked(key, kWarnInMarker, kWarnIn,
            " " + p.EmuWarningEmus[i] + ": " + PairedEntry(p.EmuWarningTexts, i));
    lines.AddMarked(key, kWarnEndMarker, kWarnEnd, "");
}

void AddLinks(ReportLines& lines, const std::string& key, const ProgramRecord& p)
{
    lines.AddMarked(key, kLinkStartMarker, kLinkStart, "");
    for (std::size_t i = 0; i < p.DocLinkNames.size(); ++i)
        lines.AddMarked(key, kLinkInMarker, kLinkIn, Position(i) + p.DocLinkNames[i]);
    lines.AddMarked(key, kLinkEndMarker, kLinkEnd, "");
}

void AddProgram(ReportLines& lines, const ProgramRecord& p, const ProgramsReportOptions& options)
{
    const std::string heading = ReportHeading(p, options.Order);
    lines.BeginGroup();
    std::string key = heading;
    if (options.IncludeType && !p.ProgramType.empty()) {
        const std::string typePart = " (" + p.ProgramType + ")";
        lines.AddMarked(heading, kTypeMarker, kType, typePart);
        key = heading + kTypeMarker + typePart;
    } else {
        lines.Add(heading);
    }
    if (options.IncludeInformation)
        AddComments(lines, key, p);
    if (options.IncludeWarnings)
        AddWarnings(lines, key, p);
    if (options.IncludeLinks)
        AddLinks(lines, key, p);
}

bool NextHasTag(const std::vector<ReportLines::Line>& lines, std::size_t i, int tag)
{
    return i + 1 < lines.size() && lines[i + 1].Tag == tag;
}

void AppendLine(std::string& out, std::string_view first, std::string_view second = {})
{
    out.append(first).append(second).append("\r\n");
}

// A comment line is blank when it holds nothing but spaces.
bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// The rewrite pass: section markers go, each kept line takes its printed form. A comment
// line that is empty or only spaces is dropped when its section ends right after it.
std::string Rewrite(const ReportLines& report)
{
    const std::vector<ReportLines::Line>& lines = report.Lines();
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ReportLines::Line& line = lines[i];
        switch (line.Tag) {
        case kInfoIn: {
            const std::string_view comment = report.After(line).substr(kPositionWidth);
            if (!(IsBlank(comment) && NextHasTag(lines, i, kInfoEnd)))
                AppendLine(out, "   : ", comment);
            break;
        }
        case kWarnIn:
            AppendLine(out, "   * ", report.After(line).substr(1));
            break;
        case kLinkStart:
            if (NextHasTag(lines, i, kLinkIn))
                AppendLine(out, "   Documents:");
            break;
        case kLinkIn:
            AppendLine(out, "   - ", report.After(line).substr(kPositionWidth));
            break;
        case kType:
            AppendLine(out, report.Before(line), report.After(line));
            break;
        case ReportLines::kPlain:
            AppendLine(out, report.Text(line));
            break;
        default:  // the start and end markers of the sections
            break;
        }
    }
    return out;
}

} // namespace

std::string ProgramsReportBytes(const Catalogue& catalogue, const ProgramsReportOptions& options)
{
    ReportLines lines;
    for (const ProgramRecord* p : SelectedPrograms(catalogue, options.FilterName))
        AddProgram(lines, *p, options);
    lines.Sort();
    return Rewrite(lines);
}

} // namespace vorbix
