#pragma once
// Which memory a pass over many programs reads of each, asked for a few programs ahead
// of the one being worked on: the records and their texts lie scattered over hundreds of
// megabytes, and a pass that waits for each in turn spends most of its time waiting.

#include "catalogue/Records.h"
#include "fastpath/Prefetch.h"

#include <cstddef>
#include <vector>

namespace vorbix {

// For passes over many programs: the texts of a program whose record has arrived (the four
// fields and the lists' arrays), asked for a few programs ahead of the one being worked on.
inline void PrefetchProgramTexts(const ProgramRecord& p)
{
    for (const std::string* text : {&p.ProgramName, &p.FileUrl, &p.PublisherName, &p.ProgramType})
        PrefetchText(*text);
    for (const StringList* list : {&p.Comments, &p.EmuWarningEmus, &p.EmuWarningTexts, &p.DocLinkNames, &p.DocLinkUrls})
        if (!list->empty())
            PrefetchLine(list->data());
}

// In a pass over a list of programs (records or pointers to them), at the i-th: asks for
// the texts of the program that many places ahead, so that they have arrived when the pass
// gets there.
constexpr std::size_t kProgramsAhead = 8;
inline const ProgramRecord& ProgramOf(const ProgramRecord& p)
{
    return p;
}
inline const ProgramRecord& ProgramOf(const ProgramRecord* p)
{
    return *p;
}
template <typename Programs>
void PrefetchAhead(const Programs& programs, std::size_t i)
{
    if (i + kProgramsAhead < programs.size())
        PrefetchProgramTexts(ProgramOf(programs[i + kProgramsAhead]));
}

// In a pass over the programs in another order (order holds their places in programs), at
// the k-th: each record is asked for two strides ahead and its texts one stride ahead, as
// the texts can be found only once the record has arrived.
inline void PrefetchAheadInOrder(const std::vector<ProgramRecord>& programs, const std::vector<std::size_t>& order,
    std::size_t k)
{
    if (k + 2 * kProgramsAhead < order.size())
        PrefetchObject(programs[order[k + 2 * kProgramsAhead]]);
    if (k + kProgramsAhead < order.size())
        PrefetchProgramTexts(programs[order[k + kProgramsAhead]]);
}

} // namespace vorbix
