#include "reports/ReportLines.h"

#include "fastpath/CollationTable.h"
#include "fastpath/PrefixSort.h"

#include <algorithm>
#include <cstdint>
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

namespace {

// An empty piece may have no data at all, which memcpy must not be given.
void Put(char* to, std::string_view piece)
{
    if (!piece.empty())
        std::memcpy(to, piece.data(), piece.size());
}

} // namespace

void ReportLines::AddMarked(std::string_view front, std::string_view marker, int tag, std::string_view rest)
{
    Line line;
    line.MarkerAt = front.size();
    line.MarkerSize = static_cast<std::uint32_t>(marker.size());
    line.Tag = static_cast<std::uint8_t>(tag);
    if (SharesKeyFront(front, marker))
        AddSharingKey(line, marker, rest);
    else
        AddWhole(line, front, marker, rest);
}

// Shared only where the heading lies inside the front, so that the line's heading is the
// key's (without a heading a line is its own). The marker must begin with an ASCII
// character, so that the tail starts a character in either encoding and the whole text is
// valid UTF-8 exactly when both parts are.
bool ReportLines::SharesKeyFront(std::string_view front, std::string_view marker) const
{
    return key_ != kNoKey && !marker.empty() && static_cast<unsigned char>(marker[0]) < 0x80 && !heading_.empty()
        && lines_[key_].HeadSize == heading_.size() && front == lines_[key_].Text.text;
}

void ReportLines::AddSharingKey(Line line, std::string_view marker, std::string_view rest)
{
    const Line& key = lines_[key_];
    const std::size_t tailSize = marker.size() + rest.size();
    char* data = Room(tailSize);
    Put(data, marker);
    Put(data + marker.size(), rest);
    line.Text = key.Text;
    line.Tail = std::string_view(data, tailSize);
    // Checked once here, so that the many comparisons of the sort need not check again.
    const PreparedText tail = PrepareText(line.Tail);
    line.TailAscii = tail.ascii;
    line.TailUtf8 = tail.utf8;
    line.TailLatin = tail.latin;
    // Both parts in one encoding and one table: then so is the whole text.
    line.ByTail = line.Text.utf8 == tail.utf8
        && ((line.Text.ascii && tail.ascii && ComparedByTable(line.Text)) || (line.Text.latin && tail.latin));
    if (line.Text.utf8 == tail.utf8) {
        line.WholeAscii = line.Text.ascii && tail.ascii;
        line.WholeUtf8 = tail.utf8;
        line.WholeLatin = line.Text.latin && tail.latin;
    } else { // a Windows-1252 part makes the whole text Windows-1252
        const std::string text = WholeText(line);
        const PreparedText whole = PrepareText(text);
        line.WholeAscii = whole.ascii;
        line.WholeUtf8 = whole.utf8;
        line.WholeLatin = whole.latin;
    }
    line.HeadSize = key.HeadSize;
    line.HeadAscii = key.HeadAscii;
    line.HeadUtf8 = key.HeadUtf8;
    line.HeadLatin = key.HeadLatin;
    line.HeadPrefix = key.HeadPrefix;
    lines_.push_back(line);
}

void ReportLines::AddWhole(Line line, std::string_view front, std::string_view marker, std::string_view rest)
{
    const std::size_t total = front.size() + marker.size() + rest.size();
    char* data = Room(total);
    Put(data, front);
    Put(data + line.MarkerAt, marker);
    Put(data + line.MarkerAt + marker.size(), rest);
    line.Text = PrepareText(std::string_view(data, total));
    line.ByTail = ComparedByTable(line.Text);
    line.WholeAscii = line.Text.ascii;
    line.WholeUtf8 = line.Text.utf8;
    line.WholeLatin = line.Text.latin;
    const std::size_t headSize =
        !heading_.empty() && std::string_view(data, total).starts_with(heading_) ? heading_.size() : total;
    line.HeadSize = headSize;
    const PreparedText head = headSize == total ? line.Text : PrepareText(std::string_view(data, headSize));
    line.HeadAscii = head.ascii;
    line.HeadUtf8 = head.utf8;
    line.HeadLatin = head.latin;
    line.HeadPrefix = SortPrefixOf(head);
    lines_.push_back(line);
    if (!groupStarts_.empty())
        key_ = lines_.size() - 1;
}

std::string ReportLines::WholeText(const Line& line)
{
    std::string whole(line.Text.text);
    whole.append(line.Tail);
    return whole;
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
    if (!SharesFront(a) && !SharesFront(b))
        return ComparePreparedIgnoreCase(a.Text, b.Text) < 0;
    // The same front (one program's, or two programs' with the same key) weighs the same
    // in both.
    if (a.ByTail && b.ByTail && a.Text.text == b.Text.text)
        return ComparePreparedIgnoreCase({a.Tail, a.TailAscii, a.TailUtf8, a.TailLatin},
                   {b.Tail, b.TailAscii, b.TailUtf8, b.TailLatin})
            < 0;
    // Else the whole texts, put together in buffers kept for the purpose.
    thread_local std::string aWhole;
    thread_local std::string bWhole;
    aWhole.assign(a.Text.text).append(a.Tail);
    bWhole.assign(b.Text.text).append(b.Tail);
    return ComparePreparedIgnoreCase({aWhole, a.WholeAscii, a.WholeUtf8, a.WholeLatin},
               {bWhole, b.WholeAscii, b.WholeUtf8, b.WholeLatin})
        < 0;
}

// A program's few lines mostly arrive in order already: an insertion sort checks that
// with one comparison per line and, unlike std::stable_sort, takes no buffer.
void ReportLines::StableSortLines(LineList::iterator first, LineList::iterator last)
{
    if (last - first > 32) {
        StableSortByPrefix(
            first, last, [](const Line& line) { return line.HeadPrefix; }, Ordering());
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
        bytes += line.Text.text.size() + line.Tail.size(); // a shared front counts for each line
    return bytes;
}

void ReportLines::Sort()
{
    // The grouped sort keeps its order as 32-bit indices; past that many lines (never
    // reached by a catalogue) one sort of all lines gives the same order.
    if (groupStarts_.empty() || lines_.size() > UINT32_MAX)
        StableSortLines(lines_.begin(), lines_.end());
    else
        SortGrouped();
    groupStarts_.clear();
}

std::vector<ReportLines::Group, LargeBufferAllocator<ReportLines::Group>> ReportLines::Groups() const
{
    std::vector<Group, LargeBufferAllocator<Group>> groups;
    groups.reserve(groupStarts_.size() + 1);
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

// Puts the lines of a run of groups at the end of the order. Groups of one run are taken
// in the order they were added and sorted together, so equal lines keep their order.
void ReportLines::AppendRun(std::vector<Group>& run)
{
    const auto first = static_cast<std::ptrdiff_t>(order_.size());
    if (run.size() > 1)
        std::sort(run.begin(), run.end(), [](const Group& a, const Group& b) { return a.begin < b.begin; });
    for (const Group& g : run)
        for (std::size_t i = g.begin; i < g.end; ++i)
            order_.push_back(static_cast<std::uint32_t>(i));
    if (run.size() > 1)
        std::stable_sort(order_.begin() + first, order_.end(),
            [this](std::uint32_t a, std::uint32_t b) { return Less(lines_[a], lines_[b]); });
    run.clear();
}

// The same order as one stable sort of all lines, with far fewer comparisons when the
// groups do not interleave (a program's lines share its heading as their front part):
// each group is sorted, the groups are ordered by their smallest line, and a group joins
// the run before it unless its smallest line is strictly above everything in that run.
// Lines that compare equal thus always end up in one run, sorted there together.
void ReportLines::SortGrouped()
{
    auto groups = Groups();
    for (Group& g : groups) {
        StableSortLines(lines_.begin() + static_cast<std::ptrdiff_t>(g.begin),
            lines_.begin() + static_cast<std::ptrdiff_t>(g.end));
        g.prefix = lines_[g.begin].HeadPrefix;
    }
    StableSortByPrefix(
        groups.begin(), groups.end(), [](const Group& g) { return g.prefix; },
        [this](const Group& a, const Group& b) { return Less(lines_[a.begin], lines_[b.begin]); });
    order_.clear();
    order_.reserve(lines_.size());
    std::vector<Group> run;
    const Line* runMax = nullptr;
    for (const Group& g : groups) {
        const Line& smallest = lines_[g.begin];
        const Line& largest = lines_[g.end - 1];
        if (runMax == nullptr || Less(*runMax, smallest)) { // null before the first group
            AppendRun(run);
            runMax = &largest;
        } else if (Less(*runMax, largest)) {
            runMax = &largest;
        }
        run.push_back(g);
    }
    AppendRun(run);
}

} // namespace vorbix
