// The links report: a consistency check of the catalogue in twelve tests, each written
// as a titled section of sorted findings.

#include "browsing/FilterEvaluation.h"
#include "catalogue/ProgramPrefetch.h"
#include "catalogue/Utilities.h"
#include "fastpath/CollationTable.h"
#include "fastpath/LargeBuffer.h"
#include "fastpath/PrefixSort.h"
#include "platform/FileSystem.h"
#include "reports/Main_ReportsUnit.h"
#include "reports/ReportCommon.h"
#include "reports/ReportLines.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace vorbix {

namespace {

// 15 spaces and the tag, between a finding's name part and its detail, so that findings
// sort by the name part first.
const std::string kTempMarker = "               #Temp       #123@#";
constexpr int kTemp = 1;

// The defined publishers or types, each with whether some program of the catalogue names
// it. A flat table probed in place: a catalogue may define a publisher for every program,
// and each program looks its publisher up three times.
class CategoryTable {
public:
    explicit CategoryTable(const NameList& names)
    {
        std::size_t size = 16;
        while (size < names.size() * 2)
            size *= 2;
        slots_.assign(size, Slot{});
        entries_.reserve(names.size());
        for (const std::string& name : names) {
            const std::size_t hash = std::hash<std::string_view>{}(name);
            std::size_t i = hash & (slots_.size() - 1);
            for (; slots_[i].entry != 0; i = (i + 1) & (slots_.size() - 1))
                if (IsAt(slots_[i], hash, name))
                    break;
            if (slots_[i].entry == 0) {
                entries_.push_back({name, false});
                slots_[i] = {static_cast<std::uint32_t>(entries_.size()), static_cast<std::uint32_t>(hash >> 32)};
            }
        }
    }

    bool contains(std::string_view name) const { return Find(name) != 0; }
    // Notes that a program names it, when it is defined.
    void Mark(std::string_view name)
    {
        if (const std::uint32_t entry = Find(name); entry != 0)
            entries_[entry - 1].used = true;
    }
    // Whether the defined name is named by a program.
    bool Used(std::string_view name) const
    {
        const std::uint32_t entry = Find(name);
        return entry != 0 && entries_[entry - 1].used;
    }

private:
    struct Entry {
        std::string_view name;
        bool used;
    };
    // Entry is 1 + the index in entries_ (0 for an empty slot); check holds the hash's
    // high bits, so that a slot of another name is passed over without reading its entry.
    struct Slot {
        std::uint32_t entry = 0;
        std::uint32_t check = 0;
    };

    bool IsAt(const Slot& slot, std::size_t hash, std::string_view name) const
    {
        return slot.check == static_cast<std::uint32_t>(hash >> 32) && entries_[slot.entry - 1].name == name;
    }

    // 1 + the name's index in entries_, or 0 when it is not defined.
    std::uint32_t Find(std::string_view name) const
    {
        const std::size_t hash = std::hash<std::string_view>{}(name);
        for (std::size_t i = hash & (slots_.size() - 1); slots_[i].entry != 0; i = (i + 1) & (slots_.size() - 1))
            if (IsAt(slots_[i], hash, name))
                return slots_[i].entry;
        return 0;
    }

    std::vector<Slot> slots_;
    std::vector<Entry> entries_;
};

// The four tests whose findings are the bare heading of a program.
constexpr std::array<LinksTest, 4> kHeadingTests = {LinksTest::ProgsNoTypes, LinksTest::ProgsPubsNoExists,
    LinksTest::ProgsNoPics, LinksTest::ProgsNoBoxCovers};

// A program with findings among the heading tests: its heading's place among the
// collected headings, and bit i standing for kHeadingTests[i].
struct HeadingFindings {
    std::size_t at;
    std::size_t size;
    unsigned tests;
};

// The findings while they are collected. Texts are built in buffers kept from program to
// program, and the headings of the heading tests lie in one text, so that collecting
// makes no allocation for each program.
struct Collector {
    std::array<ReportLines, kLinksTestCount> lists;
    LargeText headingTexts;
    std::vector<HeadingFindings> headings;
    FileExistenceCache files;
    std::string heading; // the current program's
    std::string name; // a document's finding's name part
    std::string detail;

    ReportLines& operator[](LinksTest test) { return lists[static_cast<std::size_t>(test)]; }

    void AddDetailed(LinksTest test, std::string_view front, std::string_view what)
    {
        detail.assign("  (").append(what).append(")");
        (*this)[test].AddMarked(front, kTempMarker, kTemp, detail);
    }
};

void CollectProgram(Collector& c, const ProgramRecord& p, const CategoryTable& publishers, const CategoryTable& types)
{
    std::string& heading = c.heading;
    heading.clear();
    AppendReportHeading(heading, p, ReportOrder::Publisher);
    if (!LinkTargetExists(p.FileUrl, &c.files))
        c.AddDetailed(LinksTest::BrokenProgs, heading, p.FileUrl);
    for (std::size_t i = 0; i < p.DocLinkNames.size(); ++i) {
        const std::string& url = PairedEntry(p.DocLinkUrls, i);
        if (!LinkTargetExists(url, &c.files)) {
            c.name.assign(heading).append(" - ").append(p.DocLinkNames[i]);
            c.AddDetailed(LinksTest::BrokenHyLinks, c.name, url);
        }
    }
    if (p.PublisherName.empty())
        c[LinksTest::ProgsNoPubs].Add(p.ProgramName);
    if (!p.ProgramType.empty() && !types.contains(p.ProgramType))
        c.AddDetailed(LinksTest::ProgsTypesNoExists, heading, p.ProgramType);
    const bool found[kHeadingTests.size()] = {p.ProgramType.empty(),
        !p.PublisherName.empty() && !publishers.contains(p.PublisherName), !PictureFileExists(p.FileUrl, &c.files),
        !BoxCoverFileExists(p.FileUrl, &c.files)};
    unsigned tests = 0;
    for (std::size_t i = 0; i < kHeadingTests.size(); ++i)
        tests |= found[i] ? 1u << i : 0u;
    if (tests != 0) {
        c.headings.push_back({c.headingTexts.size(), heading.size(), tests});
        c.headingTexts.append(heading);
    }
}

// The heading tests list subsets of the same headings; the headings are sorted once and
// each list takes its own in that order, which is the order its own sort would give.
struct SortedHeading {
    SortPrefix prefix;
    PreparedText text;
    unsigned tests;
};
using SortedHeadings = std::vector<SortedHeading, LargeBufferAllocator<SortedHeading>>;

SortedHeadings SortHeadings(const Collector& c)
{
    const std::string_view texts = c.headingTexts;
    SortedHeadings sorted;
    sorted.reserve(c.headings.size());
    for (const HeadingFindings& h : c.headings) {
        const PreparedText text = PrepareText(texts.substr(h.at, h.size));
        sorted.push_back({SortPrefixOf(text), text, h.tests});
    }
    StableSortByPrefix(
        sorted.begin(), sorted.end(), [](const SortedHeading& entry) { return entry.prefix; },
        [](const SortedHeading& a, const SortedHeading& b) {
            const int byPrefix = ComparePrefixes(a.prefix, b.prefix);
            return byPrefix != 0 ? byPrefix < 0 : ComparePreparedIgnoreCase(a.text, b.text) < 0;
        });
    return sorted;
}

// Categories that no program of the whole catalogue uses, and filters naming categories
// that are not defined ("any" is no category).
void CollectCategoriesAndFilters(Collector& c, const Catalogue& catalogue, CategoryTable& publishers,
    CategoryTable& types)
{
    // Each defined category is marked when a program names it: one lookup per program.
    const std::vector<ProgramRecord>& programs = catalogue.ProgramList;
    for (std::size_t i = 0; i < programs.size(); ++i) {
        PrefetchAhead(programs, i);
        publishers.Mark(programs[i].PublisherName);
        types.Mark(programs[i].ProgramType);
    }
    for (const std::string& publisher : catalogue.Publishers)
        if (!publishers.Used(publisher))
            c[LinksTest::UnusedPublishers].Add(publisher);
    for (const std::string& type : catalogue.ProgramTypes)
        if (!types.Used(type))
            c[LinksTest::UnusedTypes].Add(type);
    for (const FilterRecord& f : catalogue.FilterList) {
        if (f.FPublisher != kAnyValue && !publishers.contains(f.FPublisher))
            c[LinksTest::FiltersNoPubs].Add(f.FilterName + "  (" + f.FPublisher + ")");
        if (f.FType != kAnyValue && !types.contains(f.FType))
            c[LinksTest::FiltersNoTypes].Add(f.FilterName + "  (" + f.FType + ")");
    }
}

// Every finding of the twelve tests, collected and sorted: each test's findings are
// handed out in order as their text in at most two parts, so that the report is written
// from them directly and the list of findings is made only where it is asked for.
class SortedCollection {
public:
    SortedCollection(const Catalogue& catalogue, const std::string& filterName)
    {
        CategoryTable publishers(catalogue.Publishers);
        CategoryTable types(catalogue.ProgramTypes);
        const std::vector<const ProgramRecord*> selected = SelectedPrograms(catalogue, filterName);
        std::size_t headingBytes = 0;
        for (const ProgramRecord* p : selected)
            headingBytes += ReportHeadingSize(*p);
        c_.headingTexts.reserve(headingBytes);
        for (std::size_t i = 0; i < selected.size(); ++i) {
            PrefetchAhead(selected, i);
            CollectProgram(c_, *selected[i], publishers, types);
        }
        CollectCategoriesAndFilters(c_, catalogue, publishers, types);
        for (ReportLines& lines : c_.lists)
            lines.Sort();
        headings_ = SortHeadings(c_);
        for (const SortedHeading& h : headings_)
            for (std::size_t i = 0; i < kHeadingTests.size(); ++i)
                if (h.tests & (1u << i)) {
                    ++headingCounts_[i];
                    headingBytes_[i] += h.text.text.size();
                }
    }

    // The number of findings of a test, and at most how many bytes their texts take.
    std::size_t Count(LinksTest test) const
    {
        const auto heading = HeadingIndex(test);
        return heading < kHeadingTests.size() ? headingCounts_[heading] : c_.lists[Index(test)].size();
    }
    std::size_t Bytes(LinksTest test) const
    {
        const auto heading = HeadingIndex(test);
        return heading < kHeadingTests.size() ? headingBytes_[heading] : c_.lists[Index(test)].TextBytes();
    }

    // Calls take(text, more) for each finding of the test, in order.
    template <typename Take>
    void ForEach(LinksTest test, Take take) const
    {
        if (const auto heading = HeadingIndex(test); heading < kHeadingTests.size()) {
            for (const SortedHeading& h : headings_)
                if (h.tests & (1u << heading))
                    take(h.text.text, std::string_view());
            return;
        }
        const ReportLines& lines = c_.lists[Index(test)];
        for (const ReportLines::Line& line : lines.Lines()) {
            if (line.Tag == kTemp)
                take(ReportLines::Before(line), ReportLines::After(line)); // the marker taken out
            else
                take(ReportLines::Text(line), std::string_view());
        }
    }

private:
    static std::size_t Index(LinksTest test) { return static_cast<std::size_t>(test); }
    static std::size_t HeadingIndex(LinksTest test)
    {
        return static_cast<std::size_t>(
            std::find(kHeadingTests.begin(), kHeadingTests.end(), test) - kHeadingTests.begin());
    }

    Collector c_;
    SortedHeadings headings_;
    std::array<std::size_t, kHeadingTests.size()> headingCounts_{};
    std::array<std::size_t, kHeadingTests.size()> headingBytes_{};
};

// The report's text from the findings of each test, handed out by forEach(test, take);
// bytes(test) is at most the bytes of their texts. Written straight into one text sized
// first: the findings of a large catalogue run to hundreds of thousands of lines.
template <typename Count, typename Bytes, typename ForEach>
std::string ReportText(const LinksReportOptions& options, Count count, Bytes bytes, ForEach forEach)
{
    std::size_t total = 0;
    for (std::size_t i = 0; i < kLinksTestCount; ++i) {
        const auto test = static_cast<LinksTest>(i);
        total += 2 * std::string_view(NamesOf(test).Caption).size() + 10 + bytes(test) + 2 * count(test);
    }
    std::string out;
    out.reserve(total);
    auto line = [&out](std::string_view text, std::string_view more = {}) {
        out.append(text).append(more).append("\r\n");
    };
    for (std::size_t i = 0; i < kLinksTestCount; ++i) {
        const auto test = static_cast<LinksTest>(i);
        if (!options.Checked(test))
            continue;
        const std::string caption = NamesOf(test).Caption;
        line(caption);
        line(std::string(caption.size(), '='));
        line("");
        forEach(test, line);
        line("");
        line("");
    }
    return out;
}

} // namespace

void FindingList::Reserve(std::size_t findings, std::size_t bytes)
{
    ends_.reserve(ends_.size() + findings);
    text_.reserve(text_.size() + bytes);
}

void FindingList::Add(std::string_view text, std::string_view more)
{
    text_.append(text).append(more);
    ends_.push_back(text_.size());
}

LinksFindings CollectLinksFindings(const Catalogue& catalogue, const std::string& filterName)
{
    const SortedCollection collection(catalogue, filterName);
    LinksFindings findings;
    for (std::size_t i = 0; i < kLinksTestCount; ++i) {
        const auto test = static_cast<LinksTest>(i);
        findings[i].Reserve(collection.Count(test), collection.Bytes(test));
        collection.ForEach(test, [&](std::string_view text, std::string_view more) { findings[i].Add(text, more); });
    }
    return findings;
}

std::string LinksReportBytes(const LinksFindings& findings, const LinksReportOptions& options)
{
    const auto list = [&findings](
                          LinksTest test) -> const FindingList& { return findings[static_cast<std::size_t>(test)]; };
    return ReportText(
        options, [&](LinksTest test) { return list(test).size(); },
        [&](LinksTest test) { return list(test).TextBytes(); },
        [&](LinksTest test, auto take) {
            for (const std::string_view finding : list(test))
                take(finding, std::string_view());
        });
}

LinksCheckResult CheckLinks(const Catalogue& catalogue, const LinksReportOptions& options)
{
    const SortedCollection collection(catalogue, options.FilterName);
    LinksCheckResult result;
    for (std::size_t i = 0; i < kLinksTestCount; ++i)
        result.AnyFinding = result.AnyFinding || collection.Count(static_cast<LinksTest>(i)) != 0;
    result.Report = ReportText(
        options, [&](LinksTest test) { return collection.Count(test); },
        [&](LinksTest test) { return collection.Bytes(test); },
        [&](LinksTest test, auto take) { collection.ForEach(test, take); });
    return result;
}

std::string LinksReportBytes(const Catalogue& catalogue, const LinksReportOptions& options)
{
    return CheckLinks(catalogue, options).Report;
}

} // namespace vorbix
