#include "catalogue/ProgramsFile.h"

#include "catalogue/ElementReading.h"
#include "catalogue/GatheredMessages.h"
#include "catalogue/OwedCopies.h"
#include "catalogue/ProgramPrefetch.h"
#include "catalogue/ProgramsFileParser.h"
#include "catalogue/RecordFields.h"
#include "catalogue/Utilities.h"
#include "catalogue/XMLUtilities.h"
#include "fastpath/CollationTable.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_map>

namespace vorbix {

const XMLStructure& ProgramsFileStructure()
{
    // The items of a program's lists may also stand directly in the program: the loader
    // finds them anywhere inside it, so they read the same. A list container may repeat for
    // the same reason; the leaves the loader reads stand once.
    static const XMLStructure structure = [] {
        XMLStructure s{"programs",
            {
                {"programs", {{"vorbix-version"}, {"publisher"}}},
                {"publisher", {{"publisher-name", true}, {"program"}}},
            }};
        XMLElementRule program{"program", {}};
        for (const ProgramTextField& field : kProgramTextFields)
            program.Children.push_back({field.Leaf, true});
        for (const ProgramFlagField& field : kProgramFlagFields)
            program.Children.push_back({field.Leaf, true});
        for (const ProgramDerivedLeaf& leaf : kProgramDerivedLeaves)
            program.Children.push_back({leaf.Leaf});
        for (const ProgramLineList& list : kProgramLineLists)
            program.Children.push_back({list.Container});
        for (const ProgramPairList& list : kProgramPairLists)
            program.Children.push_back({list.Container});
        for (const ProgramLineList& list : kProgramLineLists)
            program.Children.push_back({list.Item});
        for (const ProgramPairList& list : kProgramPairLists)
            program.Children.push_back({list.Item});
        s.Containers.push_back(std::move(program));
        for (const ProgramLineList& list : kProgramLineLists)
            s.Containers.push_back({list.Container, {{list.Item}}});
        for (const ProgramPairList& list : kProgramPairLists) {
            s.Containers.push_back({list.Container, {{list.Item}}});
            s.Containers.push_back({list.Item, {{list.FirstLeaf, true}, {list.SecondLeaf, true}}});
        }
        return s;
    }();
    return structure;
}

namespace {

// ---- reading --------------------------------------------------------------------------

// A file as the writer lays it out, read in one pass through a window of it. Empty when
// the file is outside that form (then read by tag search); else the load's outcome.
std::optional<Status> ReadWrittenForm(Catalogue& catalogue, const std::string& path, const LoadProgress& progress)
{
    Result<FileStream> file = FileStream::Open(path);
    if (!file)
        return Status(file.Error());
    // Positions are kept in 32 bits by the tag search reader; a larger file is not a
    // catalogue it can hold, whichever reader would read it.
    if (file.Value().OpenedSize() >= std::numeric_limits<std::uint32_t>::max())
        return Status(Failure::CannotOpen(path));
    std::vector<ProgramRecord> programs;
    switch (ParseWrittenProgramsFile(file.Value(), programs)) {
    case ParseOutcome::kRead:
        catalogue.ProgramList = std::move(programs);
        if (progress)
            for (std::size_t loaded = 1; loaded <= catalogue.ProgramList.size(); ++loaded)
                progress("Loading programs: " + std::to_string(loaded));
        return Status();
    case ParseOutcome::kUnreadable: return Status(Failure::CannotOpen(path));
    case ParseOutcome::kRefused: break;
    }
    return std::nullopt;
}

// One program's fields, lists and pairs by tag search, in the order of the tables.
ProgramRecord ReadProgram(TXMLLoadObject& reader, const TXMLFocus& program)
{
    ProgramRecord record;
    for (const ProgramTextField& field : kProgramTextFields)
        record.*field.Member = ReadLeaf(reader, field.Leaf, program);
    for (const ProgramFlagField& field : kProgramFlagFields)
        record.*field.Member = TextToBool(ReadLeaf(reader, field.Leaf, program));
    for (const ProgramLineList& list : kProgramLineLists)
        ForEachElement(reader, program, list.Item,
            [&](const TXMLFocus&) { (record.*list.Member).push_back(reader.Getvalue()); });
    for (const ProgramPairList& list : kProgramPairLists)
        ForEachElement(reader, program, list.Item, [&](const TXMLFocus& item) {
            (record.*list.Firsts).push_back(ReadLeaf(reader, list.FirstLeaf, item));
            (record.*list.Seconds).push_back(ReadLeaf(reader, list.SecondLeaf, item));
        });
    return record;
}

// In a damaged file many elements may share one closing tag far below; each then ends at
// the next element of its name, or those after it would be read again for every one.
std::int64_t EndBeforeNext(TXMLLoadObject& reader, std::string_view name, int index, const TXMLFocus& parent,
    std::int64_t end)
{
    TXMLFocus next;
    reader.FindElement(name, index + 1, next, parent);
    return reader.IsFocusSet(next) && next.First < end ? next.First : end;
}

// The programs of one publisher, up to publisherEnd.
void ReadPublisherPrograms(TXMLLoadObject& reader, const TXMLFocus& publisher, std::int64_t publisherEnd, bool damaged,
    Catalogue& catalogue, const LoadProgress& progress)
{
    const std::string publisherName = ReadLeaf(reader, "publisher-name", publisher);
    for (int k = 1;; ++k) {
        TXMLFocus program;
        reader.FindElement("program", k, program, publisher);
        if (!reader.IsFocusSet(program) || program.First >= publisherEnd)
            break;
        if (damaged)
            program.Last = EndBeforeNext(reader, "program", k, publisher, program.Last);
        ProgramRecord record = ReadProgram(reader, program);
        record.PublisherName = publisherName;
        catalogue.ProgramList.push_back(std::move(record));
        if (progress)
            progress("Loading programs: " + std::to_string(catalogue.ProgramList.size()));
    }
}

// Any file the one-pass reader refused: read by tag search, with the check of its structure.
Status ReadByTagSearch(Catalogue& catalogue, const std::string& path, Prompts& prompts, const LoadProgress& progress,
    LoadAccess access, FileWriter& copies)
{
    GatheredMessages missing;
    // Held apart so that the file's text is let go before a damaged file is copied aside:
    // the load then never holds two copies of it.
    auto reader = std::make_unique<TXMLLoadObject>(&missing);
    if (Status loaded = reader->LoadFromFile(path); !loaded)
        return loaded;
    // Reported once what could be read is known.
    const std::string fault = reader->CheckStructure(ProgramsFileStructure());
    const bool damaged = !fault.empty();
    for (int p = 1;; ++p) {
        TXMLFocus publisher;
        // A file cut short ends inside its last publisher: the programs before the cut are
        // whole and are read.
        if (damaged)
            reader->FindElementOrRest("publisher", p, publisher, NoFocus);
        else
            reader->FindElement("publisher", p, publisher, NoFocus);
        if (!reader->IsFocusSet(publisher))
            break;
        const std::int64_t publisherEnd =
            damaged ? EndBeforeNext(*reader, "publisher", p, NoFocus, publisher.Last) : publisher.Last;
        ReadPublisherPrograms(*reader, publisher, publisherEnd, damaged, catalogue, progress);
    }
    reader.reset();
    if (damaged) {
        const std::size_t count = catalogue.ProgramList.size();
        std::string read = std::to_string(count) + (count == 1 ? " program" : " programs");
        if (count > 0)
            read += ", the last of them " + catalogue.ProgramList.back().ProgramName;
        ReportDamage(catalogue, path, fault, prompts, access, copies, " (" + read + ")");
    }
    missing.ShowTo(prompts, path);
    return {};
}

// ---- writing --------------------------------------------------------------------------

// Whether the picture files beside the programs' files can exist. A folder that cannot be
// looked up holds no file, and no folder inside it can be looked up either: each folder is
// looked up once, and one inside a missing folder not at all, rather than every file.
class PictureFiles {
public:
    // The folder of the files with this stem (ImageFileStem) can hold them.
    bool FolderThere(const std::string& stem)
    {
        // Only a folder that ends in '/' holds the files; after a '\\' the file name is a
        // name of its own, looked up by itself.
        std::size_t end = stem.size();
        while (end > 0 && !IsPathSeparator(stem[end - 1]))
            --end;
        if (end == 0 || stem[end - 1] != '/')
            return true;
        const std::string_view folder(stem.data(), end);
        if (folder != lastFolder_) {
            lastFolder_.assign(folder);
            lastFolderThere_ = Folder(lastFolder_);
        }
        return lastFolderThere_;
    }

private:
    // folder ends in '/'.
    bool Folder(const std::string& folder)
    {
        if (const auto known = folders_.find(folder); known != folders_.end())
            return known->second;
        // The folder it stands in, when the text names one ("a/b/" in "a/b/c/"): the system
        // resolves a path one name after the other, so nothing inside a folder it cannot
        // look up can be looked up.
        bool there = true;
        const std::size_t up = folder.size() >= 2 ? folder.find_last_of('/', folder.size() - 2) : std::string::npos;
        if (up != std::string::npos && folder.find('\\') == std::string::npos)
            there = Folder(folder.substr(0, up + 1));
        there = there && DirectoryExists(folder);
        folders_.emplace(folder, there);
        return there;
    }

    std::unordered_map<std::string, bool> folders_;
    std::string lastFolder_;
    bool lastFolderThere_ = false;
};

// The programs grouped by publisher: the distinct publisher names (exact comparison)
// sorted without regard to case, and each publisher's programs in ProgramList order.
struct PublisherGroups {
    // Indexes into ProgramList, publisher after publisher.
    std::vector<std::size_t> Ordered;
    // Group r is Ordered[Start[r]] .. Ordered[Start[r + 1] - 1].
    std::vector<std::size_t> Start;
};

PublisherGroups GroupByPublisher(const std::vector<ProgramRecord>& programs)
{
    std::vector<std::string_view> publishers;
    std::vector<std::size_t> publisherOf(programs.size());
    std::unordered_map<std::string_view, std::size_t> number;
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const auto [it, added] = number.try_emplace(programs[i].PublisherName, publishers.size());
        if (added)
            publishers.push_back(programs[i].PublisherName);
        publisherOf[i] = it->second;
    }
    std::vector<std::size_t> order(publishers.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
        [&](std::size_t a, std::size_t b) { return CompareTextIgnoreCase(publishers[a], publishers[b]) < 0; });
    std::vector<std::size_t> rank(publishers.size());
    for (std::size_t r = 0; r < order.size(); ++r)
        rank[order[r]] = r;
    // A counting pass: the programs ordered by their publisher's place.
    PublisherGroups groups;
    groups.Start.assign(publishers.size() + 1, 0);
    for (std::size_t i = 0; i < programs.size(); ++i)
        ++groups.Start[rank[publisherOf[i]] + 1];
    for (std::size_t r = 0; r < publishers.size(); ++r)
        groups.Start[r + 1] += groups.Start[r];
    groups.Ordered.resize(programs.size());
    std::vector<std::size_t> next(groups.Start.begin(), groups.Start.end() - 1);
    for (std::size_t i = 0; i < programs.size(); ++i)
        groups.Ordered[next[rank[publisherOf[i]]]++] = i;
    return groups;
}

// The text's size: the values, and the tags and indents of a program with a few lists.
std::size_t ExpectedBytes(const std::vector<ProgramRecord>& programs)
{
    std::size_t expected = 0;
    for (const ProgramRecord& program : programs) {
        expected += 360 + program.ProgramName.size() + program.ProgramType.size() + program.FileUrl.size();
        for (const std::string& line : program.Comments)
            expected += 40 + line.size();
        for (const StringList* list :
            {&program.EmuWarningEmus, &program.EmuWarningTexts, &program.DocLinkNames, &program.DocLinkUrls})
            for (const std::string& item : *list)
                expected += 50 + item.size();
    }
    return expected + expected / 8;
}

// Deletes trailing lines that are empty once their trailing spaces are removed.
void TrimTrailingBlankLines(StringList& lines)
{
    while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos)
        lines.pop_back();
}

// A container of pair elements, when the first list has entries. The pair's count comes
// from the first list; a shorter second list gives empty texts.
void WritePairs(TXMLDirectWriter& writer, const ProgramPairList& list, const ProgramRecord& program)
{
    const StringList& firsts = program.*list.Firsts;
    const StringList& seconds = program.*list.Seconds;
    if (firsts.empty())
        return;
    writer.OpenElement(list.Container);
    for (std::size_t i = 0; i < firsts.size(); ++i) {
        writer.OpenElement(list.Item);
        writer.WriteElement(list.FirstLeaf, firsts[i]);
        writer.WriteElement(list.SecondLeaf, i < seconds.size() ? seconds[i] : std::string());
        writer.CloseElement(list.Item);
    }
    writer.CloseElement(list.Container);
}

void WriteProgram(TXMLDirectWriter& writer, ProgramRecord& program, PictureFiles& pictures)
{
    writer.OpenElement("program");
    for (const ProgramTextField& field : kProgramTextFields)
        writer.WriteElement(field.Leaf, program.*field.Member);
    for (const ProgramFlagField& field : kProgramFlagFields)
        writer.WriteElement(field.Leaf, BoolToText(program.*field.Member));
    const std::string stem = ImageFileStem(program.FileUrl);
    if (pictures.FolderThere(stem))
        for (const ProgramDerivedLeaf& leaf : kProgramDerivedLeaves)
            if (const std::string file = stem + std::string(leaf.Suffix); FileExists(file))
                writer.WriteElement(leaf.Leaf, file);
    for (const ProgramLineList& list : kProgramLineLists) {
        StringList& lines = program.*list.Member;
        TrimTrailingBlankLines(lines);
        if (lines.empty())
            continue;
        writer.OpenElement(list.Container);
        for (const std::string& line : lines)
            writer.WriteElement(list.Item, line);
        writer.CloseElement(list.Container);
    }
    for (const ProgramPairList& list : kProgramPairLists)
        WritePairs(writer, list, program);
    writer.CloseElement("program");
}

} // namespace

Status LoadProgramsFile(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress, LoadAccess access,
    FileWriter& copies)
{
    catalogue.ProgramList.clear();
    if (progress)
        progress("Loading programs...");
    // Something at the path that is not a readable file is an error, not an empty catalogue.
    const std::string path = catalogue.AppFile(kProgramsFile);
    ForgetPendingCopy(catalogue, path);
    if (!PathExists(path))
        return {};
    if (std::optional<Status> read = ReadWrittenForm(catalogue, path, progress))
        return *read;
    return ReadByTagSearch(catalogue, path, prompts, progress, access, copies);
}

std::string ProgramsFileBytes(Catalogue& catalogue)
{
    std::vector<ProgramRecord>& programs = catalogue.ProgramList;
    const PublisherGroups groups = GroupByPublisher(programs);
    const std::vector<std::size_t>& ordered = groups.Ordered;
    TXMLDirectWriter writer("programs.xsl", "programs", "programs.dtd", ExpectedBytes(programs));
    PictureFiles pictures;
    writer.OpenElement("programs");
    writer.WriteElement("vorbix-version", kVorbixVersion);
    for (std::size_t r = 0; r + 1 < groups.Start.size(); ++r) {
        writer.OpenElement("publisher");
        writer.WriteElement("publisher-name", programs[ordered[groups.Start[r]]].PublisherName);
        for (std::size_t k = groups.Start[r]; k < groups.Start[r + 1]; ++k) {
            // The programs are visited in publisher order, scattered over the list.
            PrefetchAheadInOrder(programs, ordered, k);
            WriteProgram(writer, programs[ordered[k]], pictures);
        }
        writer.CloseElement("publisher");
    }
    writer.CloseElement("programs");
    return writer.TakeBytes();
}

Status SaveProgramsFile(Catalogue& catalogue, FileWriter& writer)
{
    const std::string path = catalogue.AppFile(kProgramsFile);
    if (Status refused = RefuseWhileOwed(catalogue, path); !refused)
        return refused;
    return writer.WriteFile(path, ProgramsFileBytes(catalogue));
}

} // namespace vorbix
