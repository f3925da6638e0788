#pragma once
// The lines of a report while it is built and sorted. A line may hold one sort-key marker
// between a front part and a rest; the marker steers the one sort, and the line keeps the
// marker's place and a tag, so the rewrite after the sort cuts at exactly that place and
// never mistakes a user's text for a marker. The texts lie one after another in large
// blocks that never move, so building and sorting millions of lines stays cheap.

#include "platform/Collation.h"
#include "platform/LargeBuffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

class ReportLines {
public:
    static constexpr int kPlain = 0;

    struct Line {
        PreparedText Text; // in one of the blocks
        std::size_t MarkerAt = 0; // where the marker starts, from the start of the text
        std::uint32_t MarkerSize = 0; // markers are short constants
        std::size_t HeadSize = 0; // the heading the line begins with
        std::uint8_t Tag = kPlain; // which marker the line holds; kPlain for none
        bool HeadAscii = true;
        bool HeadUtf8 = true;
        bool HeadLatin = true;
        SortPrefix HeadPrefix; // of the heading: most comparisons end there
    };

    // Lines added from here on form one group (the lines of one program). Groups only
    // make the sort cheaper; the order is the same as without them.
    void BeginGroup() { groupStarts_.push_back(lines_.size()); }
    // Lines added from here on that begin with this heading (a program's) are ordered by
    // it first and only then by their whole texts, so the lines of two programs whose
    // headings differ only in accents ("Café", "Cafè") never interleave: accents weigh
    // less than the letters of the texts after them. Other lines count as their own heading.
    void SetHeading(std::string_view heading) { heading_ = heading; }
    void Add(std::string_view text);
    void AddMarked(std::string_view front, std::string_view marker, int tag, std::string_view rest);
    // Room made ahead for this many more lines, when the caller knows.
    void Reserve(std::size_t lines);

    // The one sort: case-insensitive and locale-aware over the whole texts; lines that
    // compare equal keep the order they were added in.
    void Sort();

    using LineList = std::vector<Line, LargeBufferAllocator<Line>>;
    const LineList& Lines() const { return lines_; }
    std::size_t size() const { return lines_.size(); }
    std::size_t TextBytes() const; // of all lines together
    static std::string_view Text(const Line& line) { return line.Text.text; }
    static std::string_view Before(const Line& line) { return Text(line).substr(0, line.MarkerAt); }
    static std::string_view After(const Line& line) { return Text(line).substr(line.MarkerAt + line.MarkerSize); }

private:
    struct Group {
        std::size_t begin;
        std::size_t end;
        Line smallest; // a copy of its first line once the group is sorted
    };

    static bool Less(const Line& a, const Line& b);
    static auto Ordering()
    {
        return [](const Line& a, const Line& b) { return Less(a, b); };
    }
    char* Room(std::size_t size);
    static void StableSortLines(LineList::iterator first, LineList::iterator last);
    std::vector<Group, LargeBufferAllocator<Group>> Groups() const;
    LineList SortGrouped();
    void AppendRun(std::vector<Group>& run, LineList& sorted);

    std::vector<LargeBlock> blocks_;
    char* free_ = nullptr; // the unused end of the last block
    std::size_t freeSize_ = 0;
    LineList lines_;
    std::vector<std::size_t> groupStarts_;
    std::string heading_;
};

} // namespace vorbix
