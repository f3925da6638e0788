#pragma once
// The lines of a report while it is built and sorted. A line may hold one sort-key marker
// between a front part and a rest; the marker steers the one sort, and the line keeps the
// marker's place and a tag, so the rewrite after the sort cuts at exactly that place and
// never mistakes a user's text for a marker. The texts lie one after another in a single
// buffer, so building and sorting hundreds of thousands of lines stays cheap.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

class ReportLines {
public:
    static constexpr int kPlain = 0;

    struct Line {
        std::size_t At = 0;          // where the text starts in the buffer
        std::size_t Size = 0;
        std::size_t MarkerAt = 0;    // where the marker starts, from the start of the text
        std::size_t RestAt = 0;      // where the text after the marker starts
        int Tag = kPlain;            // which marker the line holds; kPlain for none
    };

    // Lines added from here on form one group (the lines of one program). Groups only
    // make the sort cheaper; the order is the same as without them.
    void BeginGroup() { groupStarts_.push_back(lines_.size()); }
    void Add(std::string_view text);
    void AddMarked(std::string_view front, std::string_view marker, int tag, std::string_view rest);

    // The one sort: case-insensitive and locale-aware over the whole texts; lines that
    // compare equal keep the order they were added in.
    void Sort();

    const std::vector<Line>& Lines() const { return lines_; }
    std::size_t size() const { return lines_.size(); }
    std::string_view Text(const Line& line) const { return std::string_view(buffer_).substr(line.At, line.Size); }
    std::string_view Before(const Line& line) const { return Text(line).substr(0, line.MarkerAt); }
    std::string_view After(const Line& line) const { return Text(line).substr(line.RestAt); }

private:
    struct Group {
        std::size_t begin;
        std::size_t end;
        std::string_view smallest;  // the text of its first line once the group is sorted
    };

    bool Less(const Line& a, const Line& b) const;
    auto Ordering() const
    {
        return [this](const Line& a, const Line& b) { return Less(a, b); };
    }
    std::vector<Group> Groups() const;
    std::vector<Line> SortGrouped();
    void AppendRun(std::vector<Group>& run, std::vector<Line>& sorted);

    std::string buffer_;
    std::vector<Line> lines_;
    std::vector<std::size_t> groupStarts_;
};

} // namespace vorbix
