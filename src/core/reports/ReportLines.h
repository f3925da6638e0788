#pragma once
// The lines of a report while it is built and sorted. A line may hold one sort-key marker
// between a front part and a rest; the marker steers the one sort, and the line keeps the
// marker's place and a tag, so the rewrite after the sort cuts at exactly that place and
// never mistakes a user's text for a marker. The texts lie one after another in large
// blocks that never move, so building and sorting millions of lines stays cheap.

#include "fastpath/CollationTable.h"
#include "fastpath/IndexIterator.h"
#include "fastpath/LargeBuffer.h"

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

    // A line's text lies in one of the blocks. A marked line whose front part is the whole
    // text of its group's last line that holds its own whole text (a program's heading or
    // type line, its key) shares those bytes: its Text is then that front alone and Tail
    // holds its marker and rest, so a program's key is stored once however many lines it has.
    struct Line {
        PreparedText Text; // the whole text, or the shared front
        std::string_view Tail; // of a line that shares its front
        std::size_t MarkerAt = 0; // where the marker starts, from the start of the text
        std::uint32_t MarkerSize = 0; // markers are short constants
        std::size_t HeadSize = 0; // the heading the line begins with
        std::uint8_t Tag = kPlain; // which marker the line holds; kPlain for none
        bool HeadAscii = true;
        bool HeadUtf8 = true;
        bool HeadLatin = true;
        // Two lines with the same front, both true here, compare as their tails: both whole
        // texts go to one of the collation tables and are read in one encoding, and texts
        // that begin alike weigh alike there up to where they differ.
        bool ByTail = false;
        bool TailAscii = true;
        bool TailUtf8 = true;
        bool TailLatin = true;
        // What the whole text holds (as PreparedText has it), for a comparison of two
        // whole texts put together.
        bool WholeAscii = true;
        bool WholeUtf8 = true;
        bool WholeLatin = true;
        SortPrefix HeadPrefix; // of the heading: most comparisons end there
    };

    // Lines added from here on form one group (the lines of one program). Groups only
    // make the sort cheaper; the order is the same as without them.
    void BeginGroup()
    {
        groupStarts_.push_back(lines_.size());
        key_ = kNoKey;
    }
    // Lines added from here on that begin with this heading (a program's) are ordered by
    // it first and only then by their whole texts, so the lines of two programs whose
    // headings differ only in accents ("Café", "Cafè") never interleave: accents weigh
    // less than the letters of the texts after them. Other lines count as their own heading.
    void SetHeading(std::string_view heading) { heading_ = heading; }
    void Add(std::string_view text);
    void AddMarked(std::string_view front, std::string_view marker, int tag, std::string_view rest);
    // Room made ahead for this many more lines, when the caller knows.
    void Reserve(std::size_t lines);

    // The one sort, once all lines are added: case-insensitive and locale-aware over the
    // whole texts; lines that compare equal keep the order they were added in.
    void Sort();

    using LineList = std::vector<Line, LargeBufferAllocator<Line>>;
    using IndexList = std::vector<std::uint32_t, LargeBufferAllocator<std::uint32_t>>;
    // The lines in their order: sorted after Sort, else as added. A grouped sort leaves the
    // lines where they are and keeps their order as indices, which spares a second copy
    // of every line.
    class LineOrder {
    public:
        using const_iterator = IndexIterator<LineOrder, Line>;

        LineOrder(const LineList& lines, const IndexList* order) : lines_(&lines), order_(order) {}
        const Line& operator[](std::size_t i) const { return (*lines_)[order_ != nullptr ? (*order_)[i] : i]; }
        std::size_t size() const { return lines_->size(); }
        const_iterator begin() const { return {this, 0}; }
        const_iterator end() const { return {this, size()}; }

    private:
        const LineList* lines_;
        const IndexList* order_; // null: the lines' own order
    };
    LineOrder Lines() const { return LineOrder(lines_, order_.empty() ? nullptr : &order_); }
    std::size_t size() const { return lines_.size(); }
    std::size_t TextBytes() const; // of all lines' whole texts together
    // The text of a line that does not share its front (every plain line does not).
    static std::string_view Text(const Line& line) { return line.Text.text; }
    static bool SharesFront(const Line& line) { return !line.Tail.empty(); }
    static std::string WholeText(const Line& line);
    static std::string_view Before(const Line& line) { return line.Text.text.substr(0, line.MarkerAt); }
    static std::string_view After(const Line& line)
    {
        return SharesFront(line) ? line.Tail.substr(line.MarkerSize)
                                 : line.Text.text.substr(line.MarkerAt + line.MarkerSize);
    }

private:
    struct Group {
        std::size_t begin;
        std::size_t end;
        SortPrefix prefix; // its first line's, once the group is sorted
    };

    static bool Less(const Line& a, const Line& b);
    static auto Ordering()
    {
        return [](const Line& a, const Line& b) { return Less(a, b); };
    }
    char* Room(std::size_t size);
    // The two ways AddMarked stores a line: its tail beside the key's text, or whole.
    bool SharesKeyFront(std::string_view front, std::string_view marker) const;
    void AddSharingKey(Line line, std::string_view marker, std::string_view rest);
    void AddWhole(Line line, std::string_view front, std::string_view marker, std::string_view rest);
    static void StableSortLines(LineList::iterator first, LineList::iterator last);
    std::vector<Group, LargeBufferAllocator<Group>> Groups() const;
    void SortGrouped();
    void AppendRun(std::vector<Group>& run);

    std::vector<LargeBlock> blocks_;
    char* free_ = nullptr; // the unused end of the last block
    std::size_t freeSize_ = 0;
    LineList lines_;
    IndexList order_; // after a grouped sort
    std::vector<std::size_t> groupStarts_;
    std::string heading_;
    static constexpr std::size_t kNoKey = SIZE_MAX;
    std::size_t key_ = kNoKey; // the group's last line that holds its whole text
};

} // namespace vorbix
