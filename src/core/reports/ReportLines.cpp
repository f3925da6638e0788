#include "reports/ReportLines.h"

#include "platform/Collation.h"

#include <algorithm>

namespace vorbix {

void ReportLines::Add(std::string_view text)
{
    AddMarked(text, {}, kPlain, {});
}

void ReportLines::AddMarked(std::string_view front, std::string_view marker, int tag, std::string_view rest)
{
    Line line;
    line.At = buffer_.size();
    line.Size = front.size() + marker.size() + rest.size();
    line.MarkerAt = front.size();
    line.RestAt = front.size() + marker.size();
    line.Tag = tag;
    buffer_.append(front).append(marker).append(rest);
    lines_.push_back(line);
}

bool ReportLines::Less(const Line& a, const Line& b) const
{
    return CompareTextIgnoreCase(Text(a), Text(b)) < 0;
}

void ReportLines::Sort()
{
    if (groupStarts_.empty())
        std::stable_sort(lines_.begin(), lines_.end(), Ordering());
    else
        lines_ = SortGrouped();
    groupStarts_.clear();
}

std::vector<ReportLines::Group> ReportLines::Groups() const
{
    std::vector<Group> groups;
    std::size_t begin = 0;
    for (std::size_t start : groupStarts_) {
        if (start > begin)
            groups.push_back({begin, start, {}});
        begin = start;
    }
    if (lines_.size() > begin)
        groups.push_back({begin, lines_.size(), {}});
    return groups;
}

// Moves the lines of a run of groups to the end of sorted. Groups of one run are taken in
// the order they were added and sorted together, so equal lines keep their order.
void ReportLines::AppendRun(std::vector<Group>& run, std::vector<Line>& sorted)
{
    const auto first = static_cast<std::ptrdiff_t>(sorted.size());
    if (run.size() > 1)
        std::sort(run.begin(), run.end(), [](const Group& a, const Group& b) { return a.begin < b.begin; });
    for (const Group& g : run)
        sorted.insert(sorted.end(), lines_.begin() + static_cast<std::ptrdiff_t>(g.begin),
            lines_.begin() + static_cast<std::ptrdiff_t>(g.end));
    if (run.size() > 1)
        std::stable_sort(sorted.begin() + first, sorted.end(), Ordering());
    run.clear();
}

// The same order as one stable sort of all lines, with far fewer comparisons when the
// groups do not interleave (a program's lines share its heading as their front part):
// each group is sorted, the groups are ordered by their smallest line, and a group joins
// the run before it unless its smallest line is strictly above everything in that run.
// Lines that compare equal thus always end up in one run, sorted there together.
std::vector<ReportLines::Line> ReportLines::SortGrouped()
{
    std::vector<Group> groups = Groups();
    std::size_t smallestBytes = 0;
    for (const Group& g : groups) {
        std::stable_sort(lines_.begin() + static_cast<std::ptrdiff_t>(g.begin),
            lines_.begin() + static_cast<std::ptrdiff_t>(g.end), Ordering());
        smallestBytes += lines_[g.begin].Size;
    }
    // The groups are ordered by copies of their smallest lines kept close together, which
    // spares the sort a trip through the whole buffer for every comparison.
    std::string smallestTexts;
    smallestTexts.reserve(smallestBytes);
    for (Group& g : groups) {
        const std::size_t at = smallestTexts.size();
        smallestTexts.append(Text(lines_[g.begin]));
        g.smallest = std::string_view(smallestTexts).substr(at);
    }
    std::stable_sort(groups.begin(), groups.end(),
        [](const Group& a, const Group& b) { return CompareTextIgnoreCase(a.smallest, b.smallest) < 0; });

    std::vector<Line> sorted;
    sorted.reserve(lines_.size());
    std::vector<Group> run;
    const Line* runMax = nullptr;
    for (const Group& g : groups) {
        const Line& smallest = lines_[g.begin];
        const Line& largest = lines_[g.end - 1];
        if (run.empty() || Less(*runMax, smallest)) {
            AppendRun(run, sorted);
            runMax = &largest;
        } else if (Less(*runMax, largest)) {
            runMax = &largest;
        }
        run.push_back(g);
    }
    AppendRun(run, sorted);
    return sorted;
}

} // namespace vorbix
