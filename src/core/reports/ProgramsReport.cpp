// The programs report: the programs a filter selects, each with its type, comment lines,
// compatibility warnings and document names as chosen.

#include "catalogue/ProgramPrefetch.h"
#include "catalogue/Utilities.h"
#include "fastpath/LargeBuffer.h"
#include "reports/Main_ReportsUnit.h"
#include "reports/ReportCommon.h"
#include "reports/ReportLines.h"

#include <algorithm>

namespace vorbix {

namespace {

// The markers: 15 spaces and an 18-character tag. The spaces make a program's marked
// lines sort right after its heading and before any heading that merely extends it; the
// digits keep the sections in the order comments, warnings, documents.
//
// Only the lines the rewrite reads are made: a section's comment lines and its end (a
// blank last comment is dropped), the warnings, and a documents section's start (its
// caption) and lines. An empty section makes no line at all. Section starts and ends
// that print nothing and that the rewrite never looks at are left out: with one line per
// program less to copy and sort, a report of 100,000 programs builds in a fraction of the
// time, and the order of every printed line is the same.
const std::string kTypeMarker = "               #Type       #123@#";
const std::string kInfoInMarker = "               #2InfoIn    #123@#";
const std::string kInfoEndMarker = "               #3InfoEnd   #123@#";
const std::string kWarnInMarker = "               #5WarnIn    #123@#";
const std::string kLinkStartMarker = "               #7LinkStart #123@#";
const std::string kLinkInMarker = "               #8LinkIn    #123@#";

enum Tag { kType = 1, kInfoIn, kInfoEnd, kWarnIn, kLinkStart, kLinkIn };

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
    if (p.Comments.empty())
        return;
    for (std::size_t i = 0; i < p.Comments.size(); ++i)
        lines.AddMarked(key, kInfoInMarker, kInfoIn, Position(i) + p.Comments[i]);
    lines.AddMarked(key, kInfoEndMarker, kInfoEnd, "");
}

void AddWarnings(ReportLines& lines, const std::string& key, const ProgramRecord& p)
{
    for (std::size_t i = 0; i < p.EmuWarningEmus.size(); ++i)
        lines.AddMarked(key, kWarnInMarker, kWarnIn,
            " " + p.EmuWarningEmus[i] + ": " + PairedEntry(p.EmuWarningTexts, i));
}

void AddLinks(ReportLines& lines, const std::string& key, const ProgramRecord& p)
{
    if (p.DocLinkNames.empty())
        return;
    lines.AddMarked(key, kLinkStartMarker, kLinkStart, "");
    for (std::size_t i = 0; i < p.DocLinkNames.size(); ++i)
        lines.AddMarked(key, kLinkInMarker, kLinkIn, Position(i) + p.DocLinkNames[i]);
}

void AddProgram(ReportLines& lines, const ProgramRecord& p, const ProgramsReportOptions& options)
{
    const std::string heading = ReportHeading(p, options.Order);
    lines.BeginGroup();
    lines.SetHeading(heading);
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

bool NextHasTag(const ReportLines::LineOrder& lines, std::size_t i, int tag)
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
    const ReportLines::LineOrder lines = report.Lines();
    std::string out;
    out.reserve(report.TextBytes()); // more than enough: markers and keys go
    AdviseLargePages(out.data(), out.capacity());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ReportLines::Line& line = lines[i];
        switch (line.Tag) {
        case kInfoIn: {
            const std::string_view comment = ReportLines::After(line).substr(kPositionWidth);
            if (!(IsBlank(comment) && NextHasTag(lines, i, kInfoEnd)))
                AppendLine(out, "   : ", comment);
            break;
        }
        case kWarnIn: AppendLine(out, "   * ", ReportLines::After(line).substr(1)); break;
        case kLinkStart:
            if (NextHasTag(lines, i, kLinkIn))
                AppendLine(out, "   Documents:");
            break;
        case kLinkIn: AppendLine(out, "   - ", ReportLines::After(line).substr(kPositionWidth)); break;
        case kType: AppendLine(out, ReportLines::Before(line), ReportLines::After(line)); break;
        case ReportLines::kPlain: AppendLine(out, ReportLines::Text(line)); break;
        default: // the end of a comments section
            break;
        }
    }
    return out;
}

} // namespace

std::string ProgramsReportBytes(const Catalogue& catalogue, const ProgramsReportOptions& options)
{
    const std::vector<const ProgramRecord*> programs = SelectedPrograms(catalogue, options.FilterName);
    ReportLines lines;
    std::size_t count = 0;
    for (const ProgramRecord* p : programs)
        count += 2 + p->Comments.size() + p->EmuWarningEmus.size() + p->DocLinkNames.size() + 2;
    lines.Reserve(count);
    for (std::size_t i = 0; i < programs.size(); ++i) {
        PrefetchAhead(programs, i);
        AddProgram(lines, *programs[i], options);
    }
    lines.Sort();
    return Rewrite(lines);
}

} // namespace vorbix
