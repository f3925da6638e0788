#include "reports/ReportLines.h"

#include "platform/Collation.h"
#include "platform/PrefixSort.h"

#include <algorithm>
#include <cstring>

namespace vorbix {

void ReportLines::Add(std::string_view text)
{
    AddMarked(text, {}, kPlain, {});
}

// Room for a text of the given size: the end of the last block, or a new block.
char* ReportLines::Room(std::size_t size)
{
    constexpr std::size_t kBlockSize = std::size_t{8} << 20;
    if (size > freeSize_) {
        const std::size_t blockSize = std::max(size, kBlockSize);
        blocks_.push_back(NewLargeBlock(blockSize));
        free_ = blocks_.back().get();
        freeSize_ = blockSize;
    }
    char* room = free_;
    free_ += size;
    freeSize_ -= size;
    return room;
}

void ReportLines::AddMarked(std::string_view front, std::string_view marker, int tag, std::string_view rest)
{
    Line line;
    const std::size_t total = front.size() + marker.size() + rest.size();
    char* data = Room(total);
    line.MarkerAt = front.size();
    line.MarkerSize = static_cast<std::uint32_t>(marker.size());
    line.Tag = static_cast<std::uint8_t>(tag);
    // An empty piece may have no data at all, which memcpy must not be given.
    auto put = [](char* to, std::string_view piece) {
        if (!piece.empty())
            std::memcpy(to, piece.data(), piece.size());
    };
    put(data, front);
    put(data + line.MarkerAt, marker);
    put(data + line.MarkerAt + marker.size(), rest);
    // Checked once here, so that the many comparisons of the sort need not check again.
    line.Text = PrepareText(std::string_view(data, total));
    line.HeadSize = !heading_.empty() && std::string_view(data, total).starts_with(heading_) ? heading_.size() : total;
    const PreparedText head = line.HeadSize == total ? line.Text : PrepareText(std::string_view(data, line.HeadSize));
    line.HeadAscii = head.ascii;
    line.HeadUtf8 = head.utf8;
    line.HeadLatin = head.latin;
    line.HeadPrefix = SortPrefixOf(head);
    lines_.push_back(line);
}

bool ReportLines::Less(const Line& a, const Line& b)
{
    if (const int byPrefix = ComparePrefixes(a.HeadPrefix, b.HeadPrefix); byPrefix != 0)
        return byPrefix < 0;
    const std::string_view aHead = a.Text.text.substr(0, a.HeadSize);
    const std::string_view bHead = b.Text.text.substr(0, b.HeadSize);
    if (aHead != bHead) {
        const int head = ComparePreparedIgnoreCase({aHead, a.HeadAscii, a.HeadUtf8, a.HeadLatin},
            {bHead, b.HeadAscii, b.HeadUtf8, b.HeadLatin});
        if (head != 0)
            return head < 0;
    }
    return ComparePreparedIgnoreCase(a.Text, b.Text) < 0;
}

// A program's few lines mostly arrive in order already: an insertion sort checks that
// with one comparison per line and, unlike std::stable_sort, takes no buffer.
void ReportLines::StableSortLines(LineList::iterator first, LineList::iterator last)
{
    if (last - first > 32) {
        StableSortByPrefix(first, last, [](const Line& line) { return line.HeadPrefix; }, Ordering());
        return;
    }
    for (auto i = first; i != last; ++i) {
        Line line = *i;
        auto j = i;
        for (; j != first && Less(line, *(j - 1)); --j)
            *j = *(j - 1);
        *j = line;
    }
}

void ReportLines::Reserve(std::size_t lines)
{
    lines_.reserve(lines_.size() + lines);
}

std::size_t ReportLines::TextBytes() const
{
    std::size_t bytes = 0;
    for (const Line& line : lines_)
        bytes += line.Text.text.size();
    return bytes;
}

void ReportLines::Sort()
{
    if (groupStarts_.empty())
        StableSortLines(lines_.begin(), lines_.end());
    else
        lines_ = SortGrouped();
    groupStarts_.clear();
}

std::vector<ReportLines::Group, LargeBufferAllocator<ReportLines::Group>> ReportLines::Groups() const
{
    std::vector<Group, LargeBufferAllocator<Group>> groups;
    groups.reserve(groupStarts_.size() + 1);
    std::size_t begin = 0;
    for (std::size_t start : groupStarts_) {
        if (start > begin)
            groups.push_back({begin, start});
        begin = start;
    }
    if (lines_.size() > begin)
        groups.push_back({begin, lines_.size()});
    return groups;
}

// Moves the lines of a run of groups to the end of sorted. Groups of one run are taken in
// the order they were added and sorted together, so equal lines keep their order.
void ReportLines::AppendRun(std::vector<Group>& run, LineList& sorted)
{
    const auto first = static_cast<std::ptrdiff_t>(sorted.size());
    if (run.size() > 1)
        std::sort(run.begin(), run.end(), [](const Group& a, const Group& b) { return a.begin < b.begin; });
    for (const Group& g : run)
        sorted.insert(sorted.end(), lines_.begin() + static_cast<std::ptrdiff_t>(g.begin),
            lines_.begin() + static_cast<std::ptrdiff_t>(g.end));
    if (run.size() > 1)
        StableSortLines(sorted.begin() + first, sorted.end());
    run.clear();
}

// The same order as one stable sort of all lines, with far fewer comparisons when the
// groups do not interleave (a program's lines share its heading as their front part):
// each group is sorted, the groups are ordered by their smallest line, and a group joins
// the run before it unless its smallest line is strictly above everything in that run.
// Lines that compare equal thus always end up in one run, sorted there together.
ReportLines::LineList ReportLines::SortGrouped()
{
    auto groups = Groups();
    for (const Group& g : groups)
        StableSortLines(lines_.begin() + static_cast<std::ptrdiff_t>(g.begin),
            lines_.begin() + static_cast<std::ptrdiff_t>(g.end));
    // The groups are ordered by copies of their smallest lines kept close together, which
    // spares the sort a trip through all the blocks for every comparison.
    std::size_t smallestBytes = 0;
    for (const Group& g : groups)
        smallestBytes += lines_[g.begin].Text.text.size();
    std::string smallestTexts;
    smallestTexts.reserve(smallestBytes);
    for (Group& g : groups) {
        g.smallest = lines_[g.begin];
        g.smallest.Text.text =
            std::string_view(smallestTexts.data() + smallestTexts.size(), g.smallest.Text.text.size());
        smallestTexts.append(Text(lines_[g.begin]));
    }
    StableSortByPrefix(
        groups.begin(), groups.end(), [](const Group& g) { return g.smallest.HeadPrefix; },
        [](const Group& a, const Group& b) { return Less(a.smallest, b.smallest); });
    LineList sorted;
    sorted.reserve(lines_.size());
    std::vector<Group> run;
    const Line* runMax = nullptr;
    for (const Group& g : groups) {
        const Line& smallest = g.smallest;
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
