#include "browsing/ProgramFind.h"

#include "catalogue/ProgramPrefetch.h"
#include "fastpath/ByteScan.h"
#include "platform/Collation.h"

#include <cstring>

namespace vorbix {

void ProgramFindIndex::Build(const std::vector<ProgramRecord>& programs)
{
    Clear();
    ends_.reserve(programs.size());
    for (std::size_t i = 0; i < programs.size(); ++i) {
        PrefetchAhead(programs, i);
        AppendFoldedForSearch(programs[i].ProgramName, keys_);
        keys_ += '\0';
        AppendFoldedForSearch(programs[i].PublisherName, keys_);
        keys_ += '\0';
        ends_.push_back(keys_.size());
    }
    built_ = true;
}

void ProgramFindIndex::Clear()
{
    keys_.clear();
    keys_.shrink_to_fit();
    ends_.clear();
    ends_.shrink_to_fit();
    built_ = false;
}

bool ProgramFindIndex::Contains(std::size_t index, std::string_view folded) const
{
    if (index >= ends_.size())
        return false;
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(keys_).substr(begin, ends_[index] - begin).find(folded) != std::string_view::npos;
}

namespace {

// The place of the first c at or after from in text, or text.size().
std::size_t FindByte(std::string_view text, char c, std::size_t from)
{
    const void* found = std::memchr(text.data() + from, c, text.size() - from);
    return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) : text.size();
}

} // namespace

// One pass over all the keys: each match marks its program, and the search goes on after
// that program's keys; the program a match lies in is found by walking the ends along.
void ProgramFindIndex::FindAll(std::string_view folded, std::vector<unsigned char>& found) const
{
    found.assign(ends_.size(), 0);
    const std::string_view keys(keys_);
    std::size_t program = 0;
    for (std::size_t at = 0; at < keys.size() && !folded.empty();) {
        const std::size_t hit = folded.size() == 1 ? FindByte(keys, folded[0], at) : FindText(keys, folded, at);
        if (hit >= keys.size())
            break;
        while (ends_[program] <= hit)
            ++program;
        found[program] = 1;
        at = ends_[program];
    }
}

std::vector<int> NarrowRows(const ProgramFindIndex& index, const std::vector<int>& rows, std::string_view folded)
{
    if (folded.empty())
        return rows;
    std::vector<int> narrowed;
    // A few rows are looked at one by one; many through one pass over all the keys, which
    // reads them in their own order rather than jumping about in the rows' sorted order.
    constexpr std::size_t kOneByOneShare = 16;
    if (rows.size() * kOneByOneShare < index.Count()) {
        for (const int row : rows)
            if (row >= 0 && index.Contains(static_cast<std::size_t>(row), folded))
                narrowed.push_back(row);
        return narrowed;
    }
    std::vector<unsigned char> found;
    index.FindAll(folded, found);
    narrowed.reserve(rows.size());
    for (const int row : rows)
        if (row >= 0 && static_cast<std::size_t>(row) < found.size() && found[static_cast<std::size_t>(row)] != 0)
            narrowed.push_back(row);
    return narrowed;
}

} // namespace vorbix
