#include "browsing/ProgramListModel.h"

#include "browsing/AsciiUpperRanks.h"
#include "browsing/FilterEvaluation.h"
#include "browsing/TypeAhead.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace vorbix {

namespace {

// Stable counting sort of the positions by their ranks (each below rankCount).
std::vector<std::uint32_t> CountingSort(const std::vector<std::uint32_t>& positions,
    const std::vector<std::uint32_t>& ranks, std::size_t rankCount)
{
    std::vector<std::uint32_t> starts(rankCount + 1, 0);
    for (std::uint32_t position : positions)
        ++starts[ranks[position] + 1];
    for (std::size_t r = 1; r <= rankCount; ++r)
        starts[r] += starts[r - 1];
    std::vector<std::uint32_t> sorted(positions.size());
    for (std::uint32_t position : positions)
        sorted[starts[ranks[position]]++] = position;
    return sorted;
}

std::size_t RankCount(const std::vector<std::uint32_t>& ranks)
{
    return ranks.empty() ? 0 : *std::max_element(ranks.begin(), ranks.end()) + 1;
}

// The order of the rows: the sort column's rank in the sort direction, then the other
// column's rank ascending, then the catalogue index (the rows come in index order and both
// passes are stable). Ranks are small whole numbers, so two counting passes do the one sort.
std::vector<std::uint32_t> RowOrder(const std::vector<std::string_view>& publishers,
    const std::vector<std::string_view>& names, int sortColumn, int sortDirection)
{
    const bool byPublisher = sortColumn == 0;
    const std::vector<std::uint32_t> publisherRanks = AsciiUpperRanks(publishers);
    const std::vector<std::uint32_t> nameRanks = AsciiUpperRanks(names);
    const std::vector<std::uint32_t>& secondRanks = byPublisher ? nameRanks : publisherRanks;
    std::vector<std::uint32_t> firstRanks = byPublisher ? publisherRanks : nameRanks;
    const std::size_t firstCount = RankCount(firstRanks);
    if (sortDirection < 0)
        for (std::uint32_t& rank : firstRanks)
            rank = static_cast<std::uint32_t>(firstCount - 1 - rank);
    std::vector<std::uint32_t> positions(publishers.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = static_cast<std::uint32_t>(i);
    positions = CountingSort(positions, secondRanks, RankCount(secondRanks));
    return CountingSort(positions, firstRanks, firstCount);
}

const std::string kEmptyText;

} // namespace

void ProgramListModel::Rebuild(const Catalogue& catalogue, const std::string& filterName)
{
    programs_ = &catalogue.ProgramList;
    rows_.clear();
    const FilterConditions conditions = LookupFilter(catalogue.FilterList, filterName);
    const std::vector<ProgramRecord>& programs = catalogue.ProgramList;
    std::vector<std::string_view> publishers;
    std::vector<std::string_view> names;
    rows_.reserve(programs.size());
    publishers.reserve(programs.size());
    names.reserve(programs.size());
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const ProgramRecord& p = programs[i];
        if (ProgramMatchesFilter(conditions, p.PublisherName, p.ProgramType, p.Favourite)) {
            rows_.push_back(static_cast<int>(i));
            publishers.push_back(p.PublisherName);
            names.push_back(p.ProgramName);
        }
    }
    // One sort of all rows after they are in.
    const std::vector<int> unsorted = rows_;
    const std::vector<std::uint32_t> order = RowOrder(publishers, names, sortColumn_, sortDirection_);
    for (std::size_t i = 0; i < order.size(); ++i)
        rows_[i] = unsorted[order[i]];
}

void ProgramListModel::HeaderClick(int column)
{
    const int clicked = column == 0 ? 0 : 1;
    sortDirection_ = sortColumn_ == clicked ? -sortDirection_ : 1;
    sortColumn_ = clicked;
}

void ProgramListModel::SetSort(int sortColumn, int sortDirection)
{
    sortColumn_ = sortColumn == 0 ? 0 : 1;
    sortDirection_ = sortDirection < 0 ? -1 : 1;
}

int ProgramListModel::PIdx(int row) const
{
    if (row < 0 || row >= RowCount())
        return -1;
    return rows_[static_cast<std::size_t>(row)];
}

const ProgramRecord* ProgramListModel::Program(int row) const
{
    const int pidx = PIdx(row);
    if (pidx < 0 || programs_ == nullptr || static_cast<std::size_t>(pidx) >= programs_->size())
        return nullptr;
    return &(*programs_)[static_cast<std::size_t>(pidx)];
}

std::string ProgramListModel::CellText(int row, ListColumn column) const
{
    if (column == ListColumn::PIdx)
        return PIdx(row) < 0 ? std::string() : std::to_string(PIdx(row));
    const ProgramRecord* program = Program(row);
    if (program == nullptr)
        return std::string();
    return column == ListColumn::Publisher ? program->PublisherName : program->ProgramName;
}

int ProgramListModel::RowOfPIdx(int pidx) const
{
    auto it = std::find(rows_.begin(), rows_.end(), pidx);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

const std::string& ProgramListModel::KeyText(int row) const
{
    const ProgramRecord* program = Program(row);
    if (program == nullptr)
        return kEmptyText;
    return sortColumn_ == 0 ? program->PublisherName : program->ProgramName;
}

std::optional<int> ProgramListModel::FindRowByInitial(int start, int limit, char ch) const
{
    const int end = std::min(limit, RowCount());
    if (start >= end)
        return std::nullopt;
    for (int r = start < 0 ? 0 : start + 1; r < end; ++r)
        if (InitialOf(KeyText(r)) == ch)
            return r;
    return std::nullopt;
}

std::optional<int> ProgramListModel::FindTypeAheadRow(int selectedRow, char ch) const
{
    if (std::optional<int> below = FindRowByInitial(selectedRow, RowCount(), ch))
        return below;
    return FindRowByInitial(-1, selectedRow, ch);
}

} // namespace vorbix
