#pragma once
// The rows of the main window's program list: the programs a filter selects, as indices
// into ProgramList (PIdx), in the list's row order. The window only presents them.

#include "browsing/ProgramFind.h"
#include "catalogue/Catalogue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorbix {

enum class ListColumn { Publisher = 0, Program = 1, PIdx = 2 };

class ProgramListModel {
public:
    // Rebuilds the rows from the catalogue's ProgramList through the named filter (looked
    // up exactly, as given) and sorts them once. The catalogue must outlive the rows; any
    // change to ProgramList is followed by a Rebuild.
    void Rebuild(const Catalogue& catalogue, const std::string& filterName);

    // Find as you type: the rows shown are those of the filter whose program name or
    // publisher contains text (UTF-8, as typed) without regard to case or accents; an empty
    // text shows all the filter's rows. A text that contains the previous one narrows the
    // rows shown, any other looks through the filter's rows again. The text holds over
    // rebuilds until it is set empty.
    void SetFindText(const std::string& text);
    const std::string& FindText() const { return findText_; }
    // Folds the programs' names and publishers for the find, unless that was done since
    // their texts last changed. SetFindText does it when needed; a window calls it when the
    // find opens, so the first keystroke does not wait for it.
    void PrepareFind();
    // The number of rows the filter selects, found or not.
    int FilterRowCount() const { return static_cast<int>(filterRows_.size()); }

    // The header-click rules: a click on the sort column reverses the direction, a click on
    // another column sorts the other one ascending (the hidden PIdx column counts as
    // Program). Only the state changes; the caller rebuilds.
    void HeaderClick(ListColumn column);
    // Sets the order directly (Publisher, else Program; direction +1 ascending, -1
    // descending); the caller rebuilds.
    void SetSort(ListColumn sortColumn, int sortDirection);
    ListColumn SortColumn() const { return sortColumn_; }
    int SortDirection() const { return sortDirection_; }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The row's index in ProgramList, or -1 for a row outside the list.
    int PIdx(int row) const;
    // The row's program, or nullptr for a row outside the list.
    const ProgramRecord* Program(int row) const;
    // The text of a cell: publisher, program name, or PIdx as decimal text.
    std::string CellText(int row, ListColumn column) const;
    // The row that shows the program with this PIdx, or -1.
    int RowOfPIdx(int pidx) const;

    // The type-ahead search: the first row r with start < r < limit whose key text (the
    // publisher when sorted by publisher, else the program name) has the initial ch.
    std::optional<int> FindRowByInitial(int start, int limit, char ch) const;
    // A type-ahead from the row selected when the key went down (-1 for none): first the
    // rows below it to the end, then from the top up to it; the row itself is never a hit.
    std::optional<int> FindTypeAheadRow(int selectedRow, char ch) const;

    const std::vector<int>& Rows() const { return rows_; }

private:
    // The ranks of one column's texts over the whole ProgramList, kept with a copy of the
    // texts they were made from: a filter change or a header click that finds the texts
    // as they were sorts by the kept ranks, and only a changed catalogue ranks again.
    class ColumnRanks {
    public:
        // Whether the program's text is still the one ranked at this index.
        bool Same(std::size_t index, const std::string& text) const;
        void Make(const std::vector<ProgramRecord>& programs, std::string ProgramRecord::*field);
        const std::vector<std::uint32_t>& Ranks() const { return ranks_; }
        std::size_t Count() const { return count_; }

    private:
        std::string texts_; // every program's text, one after another
        std::vector<std::size_t> ends_;
        std::vector<std::uint32_t> ranks_;
        std::size_t count_ = 0;
    };

    const std::string& KeyText(int row) const;

    const std::vector<ProgramRecord>* programs_ = nullptr;
    std::vector<int> filterRows_; // the rows the filter selects, sorted
    std::vector<int> rows_; // the rows shown: the filter's rows that the find keeps
    std::string findText_;
    std::string findFolded_;
    ProgramFindIndex findIndex_;
    ColumnRanks publisherRanks_;
    ColumnRanks nameRanks_;
    ListColumn sortColumn_ = ListColumn::Publisher;
    int sortDirection_ = 1;
};

} // namespace vorbix
