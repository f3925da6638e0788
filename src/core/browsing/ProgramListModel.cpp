#include "browsing/ProgramListModel.h"

#include "browsing/FilterEvaluation.h"
#include "browsing/TypeAhead.h"
#include "catalogue/ProgramPrefetch.h"
#include "fastpath/AsciiUpperRanks.h"
#include "platform/Collation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vorbix {

namespace {

// Stable counting sort of the catalogue indexes by their ranks (each below rankCount),
// highest rank first when descending.
std::vector<std::uint32_t> CountingSort(const std::vector<std::uint32_t>& positions,
    const std::vector<std::uint32_t>& ranks, std::size_t rankCount, bool descending)
{
    auto key = [&](std::uint32_t position) {
        const std::uint32_t rank = ranks[position];
        return descending ? static_cast<std::uint32_t>(rankCount - 1 - rank) : rank;
    };
    std::vector<std::uint32_t> starts(rankCount + 1, 0);
    for (std::uint32_t position : positions)
        ++starts[key(position) + 1];
    for (std::size_t r = 1; r <= rankCount; ++r)
        starts[r] += starts[r - 1];
    std::vector<std::uint32_t> sorted(positions.size());
    for (std::uint32_t position : positions)
        sorted[starts[key(position)]++] = position;
    return sorted;
}

const std::string kEmptyText;

} // namespace

bool ProgramListModel::ColumnRanks::Same(std::size_t index, const std::string& text) const
{
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return ends_[index] - begin == text.size() && std::memcmp(texts_.data() + begin, text.data(), text.size()) == 0;
}

void ProgramListModel::ColumnRanks::Make(const std::vector<ProgramRecord>& programs, std::string ProgramRecord::*field)
{
    texts_.clear();
    ends_.clear();
    ends_.reserve(programs.size());
    for (std::size_t i = 0; i < programs.size(); ++i) {
        PrefetchAhead(programs, i);
        const ProgramRecord& p = programs[i];
        texts_ += p.*field;
        ends_.push_back(texts_.size());
    }
    std::vector<std::string_view> views;
    views.reserve(programs.size());
    for (std::size_t i = 0, begin = 0; i < ends_.size(); begin = ends_[i++])
        views.push_back(std::string_view(texts_).substr(begin, ends_[i] - begin));
    ranks_ = AsciiUpperRanks(views);
    count_ = ranks_.empty() ? 0 : *std::max_element(ranks_.begin(), ranks_.end()) + 1;
}

void ProgramListModel::Rebuild(const Catalogue& catalogue, const std::string& filterName)
{
    programs_ = &catalogue.ProgramList;
    rows_.clear();
    const FilterConditions conditions = LookupFilter(catalogue.FilterList, filterName);
    const std::vector<ProgramRecord>& programs = catalogue.ProgramList;
    bool ranked = publisherRanks_.Ranks().size() == programs.size();
    rows_.reserve(programs.size());
    for (std::size_t i = 0; i < programs.size(); ++i) {
        PrefetchAhead(programs, i);
        const ProgramRecord& p = programs[i];
        ranked = ranked && publisherRanks_.Same(i, p.PublisherName) && nameRanks_.Same(i, p.ProgramName);
        if (ProgramMatchesFilter(conditions, p.PublisherName, p.ProgramType, p.Favourite))
            rows_.push_back(static_cast<int>(i));
    }
    if (!ranked) {
        publisherRanks_.Make(programs, &ProgramRecord::PublisherName);
        nameRanks_.Make(programs, &ProgramRecord::ProgramName);
        findIndex_.Clear(); // folded from texts that have changed
    }
    // The order of the rows: the sort column's rank in the sort direction, then the other
    // column's rank ascending, then the catalogue index (the rows come in index order and
    // both passes are stable). Ranks are small whole numbers, so two counting passes do
    // the one sort.
    const bool byPublisher = sortColumn_ == ListColumn::Publisher;
    const ColumnRanks& first = byPublisher ? publisherRanks_ : nameRanks_;
    const ColumnRanks& second = byPublisher ? nameRanks_ : publisherRanks_;
    std::vector<std::uint32_t> positions(rows_.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = static_cast<std::uint32_t>(rows_[i]);
    positions = CountingSort(positions, second.Ranks(), second.Count(), false);
    positions = CountingSort(positions, first.Ranks(), first.Count(), sortDirection_ < 0);
    for (std::size_t i = 0; i < positions.size(); ++i)
        rows_[i] = static_cast<int>(positions[i]);
    filterRows_ = rows_;
    if (!findFolded_.empty()) {
        PrepareFind();
        rows_ = NarrowRows(findIndex_, filterRows_, findFolded_);
    }
}

void ProgramListModel::SetFindText(const std::string& text)
{
    std::string folded = FoldForSearch(text);
    const bool narrower = !findFolded_.empty() && folded.find(findFolded_) != std::string::npos;
    findText_ = text;
    if (folded.empty()) {
        findFolded_.clear();
        rows_ = filterRows_;
        return;
    }
    PrepareFind();
    rows_ = NarrowRows(findIndex_, narrower ? rows_ : filterRows_, folded);
    findFolded_ = std::move(folded);
}

void ProgramListModel::PrepareFind()
{
    if (!findIndex_.Built() && programs_ != nullptr)
        findIndex_.Build(*programs_);
}

void ProgramListModel::HeaderClick(ListColumn column)
{
    const ListColumn clicked = column == ListColumn::Publisher ? ListColumn::Publisher : ListColumn::Program;
    sortDirection_ = sortColumn_ == clicked ? -sortDirection_ : 1;
    sortColumn_ = clicked;
}

void ProgramListModel::SetSort(ListColumn sortColumn, int sortDirection)
{
    sortColumn_ = sortColumn == ListColumn::Publisher ? ListColumn::Publisher : ListColumn::Program;
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
    return sortColumn_ == ListColumn::Publisher ? program->PublisherName : program->ProgramName;
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
