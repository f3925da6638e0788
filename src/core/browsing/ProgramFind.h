#pragma once
// Find as you type: which programs have a name or a publisher that contains a typed text,
// without regard to case or accents (see FoldForSearch).

#include "catalogue/Records.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

// Every program's name and publisher folded once, one after another, so that a search is
// a plain byte search: a keystroke then costs a scan of the folded bytes, not a fold of
// every name.
class ProgramFindIndex {
public:
    void Build(const std::vector<ProgramRecord>& programs);
    void Clear();
    bool Built() const { return built_; }
    std::size_t Count() const { return ends_.size(); }

    // Whether the folded name or publisher of the program at index contains folded (a text
    // that FoldForSearch gave, not empty).
    bool Contains(std::size_t index, std::string_view folded) const;
    // found[i] := whether program i contains folded, for every program of the index.
    void FindAll(std::string_view folded, std::vector<unsigned char>& found) const;

private:
    // For each program: its folded name, a zero byte, its folded publisher, a zero byte.
    // No folded text holds a zero byte, so no match runs from one text into the next.
    std::string keys_;
    std::vector<std::size_t> ends_; // where each program's keys end
    bool built_ = false;
};

// The rows (indices into the programs the index was built from) whose program contains
// folded, in the order given; all of them for an empty folded text.
std::vector<int> NarrowRows(const ProgramFindIndex& index, const std::vector<int>& rows, std::string_view folded);

} // namespace vorbix
