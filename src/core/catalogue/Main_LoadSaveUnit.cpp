#include "catalogue/Main_LoadSaveUnit.h"

#include "catalogue/GatheredMessages.h"
#include "catalogue/KeptCopies.h"
#include "catalogue/ProgramPrefetch.h"
#include "catalogue/ProgramsFileParser.h"
#include "catalogue/RecordFields.h"
#include "catalogue/Utilities.h"
#include "catalogue/XMLUtilities.h"
#include "fastpath/CollationTable.h"
#include "host/Prompts.h"
#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <limits>
#include <new>
#include <unordered_map>
#include <unordered_set>

namespace vorbix {

// ---- damaged and replaced files -------------------------------------------

namespace {

const char* KeptCopyTag(KeepReason reason)
{
    return reason == KeepReason::Damaged ? "damaged" : "before-import";
}

void ShowWarning(Prompts& prompts, const std::string& text)
{
    prompts.ShowMessageBox({"", text, MessageIcon::Exclamation, MessageButtons::Ok});
}

std::vector<PendingCopy>::iterator FindPendingCopy(Catalogue& catalogue, const std::string& path)
{
    return std::find_if(catalogue.PendingCopies.begin(), catalogue.PendingCopies.end(),
        [&](const PendingCopy& pending) { return pending.Path == path; });
}

bool OwesCopy(const Catalogue& catalogue, const std::string& path)
{
    return std::any_of(catalogue.PendingCopies.begin(), catalogue.PendingCopies.end(),
        [&](const PendingCopy& pending) { return pending.Path == path; });
}

void ForgetPendingCopy(Catalogue& catalogue, const std::string& path)
{
    if (auto it = FindPendingCopy(catalogue, path); it != catalogue.PendingCopies.end())
        catalogue.PendingCopies.erase(it);
}

// What a load does with a file that must be copied aside before it may be replaced: keeps
// the copy now when it may write (the copy's path), else leaves it owed (the failure, or an
// empty text for a read-only load).
struct KeepOutcome {
    std::string Copy;
    std::string Problem;
};

KeepOutcome KeepOrOweCopy(Catalogue& catalogue, const std::string& path, KeepReason reason, LoadAccess access,
    FileWriter& copies)
{
    // Each start on the same damaged file would otherwise keep one more identical copy.
    if (std::string kept = KeptCopyHolding(path, KeptCopyTag(reason)); !kept.empty())
        return {kept, {}};
    if (access == LoadAccess::KeepCopies) {
        Result<std::string> kept = KeepCopyBeside(path, KeptCopyTag(reason), copies);
        if (kept)
            return {kept.Value(), {}};
        catalogue.PendingCopies.push_back({path, reason});
        return {{}, kept.Message()};
    }
    catalogue.PendingCopies.push_back({path, reason});
    return {};
}

// A catalogue file whose structure is not what the writer produces (an element without its
// closing tag, a stray tag in a hand-edited value, an element where the dialect has none,
// a truncated file) loses records or lists when it is read; the next save would make that
// final. So it is read as far as it goes, reported, and copied aside first.
void ReportDamage(Catalogue& catalogue, const std::string& path, const std::string& fault, Prompts& prompts,
    LoadAccess access, FileWriter& copies, const std::string& whatWasRead = {})
{
    const std::string damaged =
        "File " + path + " is damaged: " + fault + ". What could be read was loaded" + whatWasRead;
    const KeepOutcome kept = KeepOrOweCopy(catalogue, path, KeepReason::Damaged, access, copies);
    if (!kept.Copy.empty())
        ShowWarning(prompts, damaged + "; the file was copied to " + kept.Copy + ".");
    else if (!kept.Problem.empty())
        ShowWarning(prompts,
            damaged + ", but no copy of it could be kept (" + kept.Problem
                + "), so it will not be saved over until a copy can be kept beside it.");
    else
        ShowWarning(prompts, damaged + "; the file was left as it is, and no copy was made.");
}

// True when the file is damaged (and reported).
bool CheckLoadedFile(Catalogue& catalogue, const TXMLLoadObject& reader, const XMLStructure& structure,
    const std::string& path, Prompts& prompts, LoadAccess access, FileWriter& copies)
{
    const std::string fault = reader.CheckStructure(structure);
    if (!fault.empty())
        ReportDamage(catalogue, path, fault, prompts, access, copies);
    return !fault.empty();
}

// Before a save replaces a file that is owed a copy: keeps the copy (noted for the user),
// or refuses the save of that file with the reason.
Status KeepOwedCopy(Catalogue& catalogue, const std::string& path, FileWriter& writer,
    std::vector<std::string>& notices)
{
    const auto pending = FindPendingCopy(catalogue, path);
    if (pending == catalogue.PendingCopies.end())
        return {};
    const KeepReason reason = pending->Reason;
    // A file that has gone meanwhile holds nothing a save could lose.
    if (!PathExists(path)) {
        catalogue.PendingCopies.erase(pending);
        return {};
    }
    Result<std::string> kept = KeepCopyBeside(path, KeptCopyTag(reason), writer);
    if (!kept) {
        if (reason == KeepReason::Damaged)
            return Failure{"Cannot save " + path + ": the file is damaged and no copy of it could be kept ("
                    + kept.Message() + "). It was left as it is.",
                path};
        return Failure{"Cannot save " + path
                + ": the programs file that was there before the legacy import "
                  "could not be kept under a new name ("
                + kept.Message() + "). It was left as it is.",
            path};
    }
    if (reason == KeepReason::Damaged)
        notices.push_back("The damaged file " + path + " was copied to " + kept.Value() + " before it was saved over.");
    else
        notices.push_back("The programs file that was there before the legacy import, " + path + ", was kept as "
            + kept.Value() + " before it was saved over.");
    catalogue.PendingCopies.erase(pending);
    return {};
}

// The save of a file that is still owed its copy (SaveCatalogue keeps such copies first).
Status RefuseWhileOwed(const Catalogue& catalogue, const std::string& path)
{
    if (OwesCopy(catalogue, path))
        return Failure{"Cannot save " + path + " before a copy of it is kept.", path};
    return {};
}

} // namespace

// ---- programs file --------------------------------------------------------

const XMLStructure& ProgramsFileStructure()
{
    // The items of a program's three lists may also stand directly in the program: the
    // loader finds them anywhere inside it, so they read the same. A list container may
    // repeat for the same reason; the leaves the loader reads stand once.
    static const XMLStructure structure{"programs",
        {
            {"programs", {{"vorbix-version"}, {"publisher"}}},
            {"publisher", {{"publisher-name", true}, {"program"}}},
            {"program",
                {{"program-name", true}, {"program-type", true}, {"file-url", true}, {"favourite", true},
                    {"e00dfs", true}, {"picture-url"}, {"boxcover-url"}, {"comments"}, {"emuwarnings"}, {"doclinks"},
                    {"commentline"}, {"emuwarning"}, {"doclink"}}},
            {"comments", {{"commentline"}}},
            {"emuwarnings", {{"emuwarning"}}},
            {"emuwarning", {{"emu-name", true}, {"warningtext", true}}},
            {"doclinks", {{"doclink"}}},
            {"doclink", {{"doc-name", true}, {"doc-url", true}}},
        }};
    return structure;
}

namespace {

// Reads the leaf of the given name inside the parent (the first one) and returns its value.
std::string ReadLeaf(TXMLLoadObject& reader, const char* name, const TXMLFocus& parent)
{
    TXMLFocus leaf;
    reader.FindElement(name, 1, leaf, parent);
    return reader.Getvalue();
}

// Reads the i-th pair elements inside the parent into two parallel lists.
void ReadPairs(TXMLLoadObject& reader, const TXMLFocus& parent, const char* element, const char* first,
    const char* second, StringList& firsts, StringList& seconds)
{
    for (int i = 1;; ++i) {
        TXMLFocus item;
        reader.FindElement(element, i, item, parent);
        if (!reader.IsFocusSet(item))
            break;
        firsts.push_back(ReadLeaf(reader, first, item));
        seconds.push_back(ReadLeaf(reader, second, item));
    }
}

// Deletes trailing comment lines that are empty once their trailing spaces are removed.
void TrimTrailingBlankComments(StringList& comments)
{
    while (!comments.empty() && comments.back().find_first_not_of(' ') == std::string::npos)
        comments.pop_back();
}

// Writes a container of pair elements when the first list has entries. The pair's count
// comes from the first list; a shorter second list gives empty texts.
void WritePairs(TXMLDirectWriter& writer, const char* container, const char* element, const char* first,
    const char* second, const StringList& firsts, const StringList& seconds)
{
    if (firsts.empty())
        return;
    writer.OpenElement(container);
    for (std::size_t i = 0; i < firsts.size(); ++i) {
        writer.OpenElement(element);
        writer.WriteElement(first, firsts[i]);
        writer.WriteElement(second, i < seconds.size() ? seconds[i] : std::string());
        writer.CloseElement(element);
    }
    writer.CloseElement(container);
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
    {
        // A file as the writer lays it out is read in one pass through a window of it; any
        // other is read again below by tag search.
        Result<FileStream> file = FileStream::Open(path);
        if (!file)
            return file.Error();
        // Positions are kept in 32 bits by the tag search reader; a larger file is not a
        // catalogue it can hold, whichever reader would read it.
        if (file.Value().OpenedSize() >= std::numeric_limits<std::uint32_t>::max())
            return Failure::CannotOpen(path);
        std::vector<ProgramRecord> programs;
        switch (ParseWrittenProgramsFile(file.Value(), programs)) {
        case ParseOutcome::kRead:
            catalogue.ProgramList = std::move(programs);
            if (progress)
                for (std::size_t loaded = 1; loaded <= catalogue.ProgramList.size(); ++loaded)
                    progress("Loading programs: " + std::to_string(loaded));
            return {};
        case ParseOutcome::kUnreadable: return Failure::CannotOpen(path);
        case ParseOutcome::kRefused: break;
        }
    }
    GatheredMessages missing;
    // Held apart so that the file's text is let go before a damaged file is copied aside:
    // the load then never holds two copies of it.
    auto reader = std::make_unique<TXMLLoadObject>(&missing);
    if (Status loaded = reader->LoadFromFile(path); !loaded)
        return loaded;
    // Reported once what could be read is known.
    const std::string fault = reader->CheckStructure(ProgramsFileStructure());
    const bool damaged = !fault.empty();

    long long loaded = 0;
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
        // In a damaged file many publishers may share one closing tag far below; each then
        // takes only the programs before the next publisher, or the programs of all those
        // after it would be read again for every one (and the programs likewise, below).
        std::int64_t publisherEnd = publisher.Last;
        if (damaged) {
            TXMLFocus next;
            reader->FindElement("publisher", p + 1, next, NoFocus);
            if (reader->IsFocusSet(next) && next.First < publisherEnd)
                publisherEnd = next.First;
        }
        const std::string publisherName = ReadLeaf(*reader, "publisher-name", publisher);
        for (int k = 1;; ++k) {
            TXMLFocus program;
            reader->FindElement("program", k, program, publisher);
            if (!reader->IsFocusSet(program) || program.First >= publisherEnd)
                break;
            if (damaged) {
                TXMLFocus next;
                reader->FindElement("program", k + 1, next, publisher);
                if (reader->IsFocusSet(next) && next.First < program.Last)
                    program.Last = next.First;
            }
            ProgramRecord record;
            record.PublisherName = publisherName;
            record.ProgramName = ReadLeaf(*reader, "program-name", program);
            record.ProgramType = ReadLeaf(*reader, "program-type", program);
            record.FileUrl = ReadLeaf(*reader, "file-url", program);
            record.Favourite = TextToBool(ReadLeaf(*reader, "favourite", program));
            record.E00Dfs = TextToBool(ReadLeaf(*reader, "e00dfs", program));
            for (int i = 1;; ++i) {
                TXMLFocus line;
                reader->FindElement("commentline", i, line, program);
                if (!reader->IsFocusSet(line))
                    break;
                record.Comments.push_back(reader->Getvalue());
            }
            ReadPairs(*reader, program, "emuwarning", "emu-name", "warningtext", record.EmuWarningEmus,
                record.EmuWarningTexts);
            ReadPairs(*reader, program, "doclink", "doc-name", "doc-url", record.DocLinkNames, record.DocLinkUrls);
            ++loaded;
            if (progress)
                progress("Loading programs: " + std::to_string(loaded));
            catalogue.ProgramList.push_back(std::move(record));
        }
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

namespace {

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

} // namespace

std::string ProgramsFileBytes(Catalogue& catalogue)
{
    std::vector<ProgramRecord>& programs = catalogue.ProgramList;

    // Distinct publisher names (exact comparison), sorted without regard to case, and the
    // programs of each publisher in ProgramList order.
    std::vector<std::string_view> publishers;
    std::vector<std::size_t> publisherOf(programs.size());
    {
        std::unordered_map<std::string_view, std::size_t> number;
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const auto [it, added] = number.try_emplace(programs[i].PublisherName, publishers.size());
            if (added)
                publishers.push_back(programs[i].PublisherName);
            publisherOf[i] = it->second;
        }
    }
    std::vector<std::size_t> rank(publishers.size());
    {
        std::vector<std::size_t> order(publishers.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return CompareTextIgnoreCase(publishers[a], publishers[b]) < 0; });
        for (std::size_t r = 0; r < order.size(); ++r)
            rank[order[r]] = r;
    }
    // The programs ordered by their publisher's place, each publisher's in ProgramList order.
    std::vector<std::size_t> start(publishers.size() + 1, 0);
    for (std::size_t i = 0; i < programs.size(); ++i)
        ++start[rank[publisherOf[i]] + 1];
    for (std::size_t r = 0; r < publishers.size(); ++r)
        start[r + 1] += start[r];
    std::vector<std::size_t> ordered(programs.size());
    {
        std::vector<std::size_t> next(start.begin(), start.end() - 1);
        for (std::size_t i = 0; i < programs.size(); ++i)
            ordered[next[rank[publisherOf[i]]]++] = i;
    }

    // The text's size: the values, and the tags and indents of a program with a few lists.
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
    expected += expected / 8;

    TXMLDirectWriter writer("programs.xsl", "programs", "programs.dtd", expected);
    PictureFiles pictures;
    writer.OpenElement("programs");
    writer.WriteElement("vorbix-version", kVorbixVersion);
    for (std::size_t r = 0; r < publishers.size(); ++r) {
        writer.OpenElement("publisher");
        writer.WriteElement("publisher-name", programs[ordered[start[r]]].PublisherName);
        for (std::size_t k = start[r]; k < start[r + 1]; ++k) {
            // The programs are visited in publisher order, scattered over the list.
            PrefetchAheadInOrder(programs, ordered, k);
            ProgramRecord& program = programs[ordered[k]];
            writer.OpenElement("program");
            writer.WriteElement("program-name", program.ProgramName);
            writer.WriteElement("program-type", program.ProgramType);
            writer.WriteElement("file-url", program.FileUrl);
            writer.WriteElement("favourite", BoolToText(program.Favourite));
            writer.WriteElement("e00dfs", BoolToText(program.E00Dfs));
            // PictureFileFor and BoxCoverFileFor, from one stem.
            const std::string stem = ImageFileStem(program.FileUrl);
            if (pictures.FolderThere(stem)) {
                if (const std::string picture = stem + ".jpg"; FileExists(picture))
                    writer.WriteElement("picture-url", picture);
                if (const std::string boxCover = stem + "-box.jpg"; FileExists(boxCover))
                    writer.WriteElement("boxcover-url", boxCover);
            }
            TrimTrailingBlankComments(program.Comments);
            if (!program.Comments.empty()) {
                writer.OpenElement("comments");
                for (const auto& line : program.Comments)
                    writer.WriteElement("commentline", line);
                writer.CloseElement("comments");
            }
            WritePairs(writer, "emuwarnings", "emuwarning", "emu-name", "warningtext", program.EmuWarningEmus,
                program.EmuWarningTexts);
            WritePairs(writer, "doclinks", "doclink", "doc-name", "doc-url", program.DocLinkNames, program.DocLinkUrls);
            writer.CloseElement("program");
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

// ---- options file ---------------------------------------------------------

const XMLStructure& OptionsFileStructure()
{
    // The leaves of an emulator's three environment-var groups may also stand directly in
    // the emulator: the loader looks for them anywhere inside it, so they read the same.
    static const XMLStructure structure = [] {
        XMLStructure s{"options",
            {
                {"options",
                    {{"vorbix-version"}, {"emulators", true}, {"filters", true}, {"publishers", true},
                        {"program-types", true}, {"other-options", true}}},
                {"emulators", {{"emulator"}}},
                {"filters", {{"filter"}}},
                {"publishers", {{"publisher"}}},
                {"program-types", {{"type"}}},
                {"other-options",
                    {{"last-program-dir", true}, {"last-emu-dir", true}, {"last-doc-dir", true}, {"last-filter", true},
                        {"last-emu", true}, {"preprocessing-compatibilitywarning", true},
                        {"preprocessing-e00dfswarning", true}, {"postprocessing-copydiskback", true},
                        {"postprocessing-copypicture", true}, {"postprocessing-pictureurl", true},
                        {"dropoption-askaddtolist", true}, {"dropoption-usee00dfs", true}}},
            }};
        XMLElementRule emulator{"emulator", {}};
        for (const EmuTextField& field : kEmuTextFields) {
            if (field.Group != nullptr) {
                if (s.Containers.back().Name != field.Group) {
                    emulator.Children.push_back({field.Group, true});
                    s.Containers.push_back({field.Group, {}});
                }
                s.Containers.back().Children.push_back({field.Leaf, true});
            }
            emulator.Children.push_back({field.Leaf, true});
        }
        for (const EmuFlagField& field : kEmuFlagFields)
            emulator.Children.push_back({field.Leaf, true});
        s.Containers.push_back(std::move(emulator));
        XMLElementRule filter{"filter", {}};
        for (const FilterTextField& field : kFilterTextFields)
            filter.Children.push_back({field.Leaf, true});
        filter.Children.push_back({"f-favourite", true});
        s.Containers.push_back(std::move(filter));
        return s;
    }();
    return structure;
}

namespace {

const char* FavouriteToText(FavouriteCondition condition)
{
    switch (condition) {
    case FavouriteCondition::fcTrue: return "true";
    case FavouriteCondition::fcFalse: return "false";
    default: return "don't care";
    }
}

FavouriteCondition FavouriteFromText(const std::string& text)
{
    if (text == "true")
        return FavouriteCondition::fcTrue;
    if (text == "false")
        return FavouriteCondition::fcFalse;
    return FavouriteCondition::fcDontCare;
}

// Finds a container in the whole document (NoFocus when missing, so that the search
// for its children falls back to the whole document).
TXMLFocus FindContainer(TXMLLoadObject& reader, const char* name)
{
    TXMLFocus container;
    reader.FindElement(name, 1, container, NoFocus);
    return container;
}

// Calls read(focus) for each index-th element of the name inside the container.
template <typename Read>
void ForEachElement(TXMLLoadObject& reader, const TXMLFocus& container, const char* name, Read read)
{
    for (int k = 1;; ++k) {
        TXMLFocus item;
        reader.FindElement(name, k, item, container);
        if (!reader.IsFocusSet(item))
            break;
        read(item);
    }
}

} // namespace

Status LoadOptionsFile(Catalogue& catalogue, Prompts& prompts, LoadAccess access, FileWriter& copies)
{
    catalogue.EmuList.clear();
    catalogue.FilterList.clear();
    catalogue.ResetRememberedAndOptions();
    const std::string path = catalogue.AppFile(kOptionsFile);
    ForgetPendingCopy(catalogue, path);
    if (!PathExists(path))
        return {};
    GatheredMessages missing;
    TXMLLoadObject reader(&missing);
    if (Status loaded = reader.LoadFromFile(path); !loaded)
        return loaded;
    (void)CheckLoadedFile(catalogue, reader, OptionsFileStructure(), path, prompts, access, copies);

    ForEachElement(reader, FindContainer(reader, "emulators"), "emulator", [&](const TXMLFocus& e) {
        EmuRecord emu;
        for (const EmuTextField& field : kEmuTextFields)
            emu.*field.Member = ReadLeaf(reader, field.Leaf, e);
        for (const EmuFlagField& field : kEmuFlagFields)
            emu.*field.Member = TextToBool(ReadLeaf(reader, field.Leaf, e));
        catalogue.EmuList.push_back(std::move(emu));
    });

    ForEachElement(reader, FindContainer(reader, "filters"), "filter", [&](const TXMLFocus& f) {
        FilterRecord filter;
        for (const FilterTextField& field : kFilterTextFields)
            filter.*field.Member = ReadLeaf(reader, field.Leaf, f);
        filter.FFavourite = FavouriteFromText(ReadLeaf(reader, "f-favourite", f));
        catalogue.FilterList.push_back(std::move(filter));
    });

    StringList publishers;
    publishers.reserve(reader.CountOpening("publisher"));
    ForEachElement(reader, FindContainer(reader, "publishers"), "publisher",
        [&](const TXMLFocus&) { publishers.push_back(reader.Getvalue()); });
    catalogue.Publishers.AddAll(std::move(publishers));
    StringList types;
    types.reserve(reader.CountOpening("type"));
    ForEachElement(reader, FindContainer(reader, "program-types"), "type",
        [&](const TXMLFocus&) { types.push_back(reader.Getvalue()); });
    catalogue.ProgramTypes.AddAll(std::move(types));

    const TXMLFocus other = FindContainer(reader, "other-options");
    catalogue.LastProgramDir = ReadLeaf(reader, "last-program-dir", other);
    catalogue.LastEmuDir = ReadLeaf(reader, "last-emu-dir", other);
    catalogue.LastDocDir = ReadLeaf(reader, "last-doc-dir", other);
    catalogue.LastFilter = ReadLeaf(reader, "last-filter", other);
    catalogue.LastEmu = ReadLeaf(reader, "last-emu", other);
    OtherOptions& o = catalogue.Options;
    o.CompatibilityWarning = TextToBool(ReadLeaf(reader, "preprocessing-compatibilitywarning", other));
    o.E00DfsWarning = TextToBool(ReadLeaf(reader, "preprocessing-e00dfswarning", other));
    o.CopyDiskBack = TextToBool(ReadLeaf(reader, "postprocessing-copydiskback", other));
    o.CopyPicture = TextToBool(ReadLeaf(reader, "postprocessing-copypicture", other));
    o.PictureUrl = ReadLeaf(reader, "postprocessing-pictureurl", other);
    o.AskAddToList = TextToBool(ReadLeaf(reader, "dropoption-askaddtolist", other));
    o.UseE00Dfs = TextToBool(ReadLeaf(reader, "dropoption-usee00dfs", other));
    missing.ShowTo(prompts, path);
    return {};
}

std::string OptionsFileBytes(const Catalogue& catalogue, const std::string& lastFilter, const std::string& lastEmu)
{
    TXMLSaveObject writer;
    writer.DocType = "options";
    writer.OpenElement("options");
    writer.WriteElement("vorbix-version", kVorbixVersion);

    writer.OpenElement("emulators");
    for (const auto& emu : catalogue.EmuList) {
        writer.OpenElement("emulator");
        // Consecutive fields of one group share its element.
        const char* openGroup = nullptr;
        for (const EmuTextField& field : kEmuTextFields) {
            if (openGroup != nullptr && (field.Group == nullptr || std::strcmp(field.Group, openGroup) != 0)) {
                writer.CloseElement(openGroup);
                openGroup = nullptr;
            }
            if (field.Group != nullptr && openGroup == nullptr) {
                openGroup = field.Group;
                writer.OpenElement(openGroup);
            }
            writer.WriteElement(field.Leaf, emu.*field.Member);
        }
        if (openGroup != nullptr)
            writer.CloseElement(openGroup);
        for (const EmuFlagField& field : kEmuFlagFields)
            writer.WriteElement(field.Leaf, BoolToText(emu.*field.Member));
        writer.CloseElement("emulator");
    }
    writer.CloseElement("emulators");

    writer.OpenElement("filters");
    for (const auto& filter : catalogue.FilterList) {
        writer.OpenElement("filter");
        for (const FilterTextField& field : kFilterTextFields)
            writer.WriteElement(field.Leaf, filter.*field.Member);
        writer.WriteElement("f-favourite", FavouriteToText(filter.FFavourite));
        writer.CloseElement("filter");
    }
    writer.CloseElement("filters");

    writer.OpenElement("publishers");
    for (const auto& name : catalogue.Publishers)
        writer.WriteElement("publisher", name);
    writer.CloseElement("publishers");
    writer.OpenElement("program-types");
    for (const auto& name : catalogue.ProgramTypes)
        writer.WriteElement("type", name);
    writer.CloseElement("program-types");

    const OtherOptions& o = catalogue.Options;
    writer.OpenElement("other-options");
    writer.WriteElement("last-program-dir", catalogue.LastProgramDir);
    writer.WriteElement("last-emu-dir", catalogue.LastEmuDir);
    writer.WriteElement("last-doc-dir", catalogue.LastDocDir);
    writer.WriteElement("last-filter", lastFilter);
    writer.WriteElement("last-emu", lastEmu);
    writer.WriteElement("preprocessing-compatibilitywarning", BoolToText(o.CompatibilityWarning));
    writer.WriteElement("preprocessing-e00dfswarning", BoolToText(o.E00DfsWarning));
    writer.WriteElement("postprocessing-copydiskback", BoolToText(o.CopyDiskBack));
    writer.WriteElement("postprocessing-copypicture", BoolToText(o.CopyPicture));
    writer.WriteElement("postprocessing-pictureurl", o.PictureUrl);
    writer.WriteElement("dropoption-askaddtolist", BoolToText(o.AskAddToList));
    writer.WriteElement("dropoption-usee00dfs", BoolToText(o.UseE00Dfs));
    writer.CloseElement("other-options");
    writer.CloseElement("options");
    return writer.ToBytes();
}

Status SaveOptionsFile(const Catalogue& catalogue, const std::string& lastFilter, const std::string& lastEmu,
    FileWriter& writer)
{
    const std::string path = catalogue.AppFile(kOptionsFile);
    if (Status refused = RefuseWhileOwed(catalogue, path); !refused)
        return refused;
    return writer.WriteFile(path, OptionsFileBytes(catalogue, lastFilter, lastEmu));
}

// ---- start-up and shut-down -----------------------------------------------

namespace {

std::string Counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "A", "A and B", "A, B and C".
std::string JoinedNames(const std::vector<std::string>& names)
{
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += i + 1 == names.size() ? " and " : ", ";
        out += names[i];
    }
    return out;
}

// A legacy import over a programs file that is there would replace that file at the next
// save, and the user expects the catalogue it holds: it is kept under a new name first
// (or owed that copy), and the user is told what was imported and where the old file is.
// Without a programs file the import replaces nothing and goes unannounced.
void ReportImportOverProgramsFile(Catalogue& catalogue, Prompts& prompts, LoadAccess access, FileWriter& copies)
{
    const std::string path = catalogue.AppFile(kProgramsFile);
    if (!PathExists(path))
        return;
    std::vector<std::string> found;
    for (const char* name : {kLegacyProgramsFile, kLegacyOptionsFile, kLegacyEmusFile, kLegacyFiltersFile})
        if (FileExists(catalogue.AppFile(name)))
            found.emplace_back(name);
    const std::string imported = "The catalogue was imported from the legacy files " + JoinedNames(found) + " in "
        + catalogue.AppDir + " (" + Counted(catalogue.ProgramList.size(), "program", "programs") + ", "
        + Counted(catalogue.EmuList.size(), "emulator", "emulators") + ", "
        + Counted(catalogue.FilterList.size(), "filter", "filters") + "), because " + catalogue.AppFile(kOptionsFile)
        + " does not exist.";
    const KeepOutcome kept = KeepOrOweCopy(catalogue, path, KeepReason::LegacyImport, access, copies);
    if (!kept.Copy.empty())
        ShowWarning(prompts,
            imported + " The programs file that was there, " + path + ", was kept as " + kept.Copy
                + "; the next save writes the imported programs in its place.");
    else if (!kept.Problem.empty())
        ShowWarning(prompts,
            imported + " The programs file that is there, " + path + ", could not be kept under a new name ("
                + kept.Problem + "), so it will not be saved over until a copy can be kept beside it.");
    else
        ShowWarning(prompts,
            imported + " The programs file that is there, " + path
                + ", was left as it is; a save would keep it under a new name before writing the imported "
                  "programs in its place.");
}

} // namespace

namespace {

// "512 bytes", "3.4 KB", "67.0 MB", "2.0 GB".
std::string SizeText(std::uintmax_t bytes)
{
    if (bytes < 1024)
        return std::to_string(bytes) + " bytes";
    const char* const units[] = {"KB", "MB", "GB", "TB"};
    double size = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (size >= 1024 && unit + 1 < std::size(units)) {
        size /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", size, units[unit]);
    return text;
}

// Runs the load of the file at path; running out of memory on the way is a sentence the user
// can act on, naming the file and its size, and the catalogue counts as not loaded.
template <typename Load>
Status WithinMemory(const std::string& path, Load load)
{
    try {
        return load();
    } catch (const std::bad_alloc&) {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        return Failure{"Not enough memory to read " + path + (ec ? std::string() : " (" + SizeText(size) + ")"), path};
    }
}

Result<CatalogueSource> LoadFromSource(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress,
    LoadAccess access, FileWriter& copies)
{
    // PathExists: a link at the options file that cannot be followed is a file that cannot
    // be opened, not a missing one that a legacy import or an empty catalogue would replace.
    const bool haveOptions = PathExists(catalogue.AppFile(kOptionsFile));
    const bool haveLegacy = FileExists(catalogue.AppFile(kLegacyOptionsFile));
    if (haveOptions || !haveLegacy) {
        if (Status loaded = WithinMemory(catalogue.AppFile(kProgramsFile),
                [&] { return LoadProgramsFile(catalogue, prompts, progress, access, copies); });
            !loaded)
            return loaded.Error();
        if (Status loaded = WithinMemory(catalogue.AppFile(kOptionsFile),
                [&] { return LoadOptionsFile(catalogue, prompts, access, copies); });
            !loaded)
            return loaded.Error();
        return haveOptions || FileExists(catalogue.AppFile(kProgramsFile)) ? CatalogueSource::Xml
                                                                           : CatalogueSource::None;
    }
    if (progress)
        progress("Loading programs...");
    for (Status (*import)(Catalogue&) :
        {ImportLegacyPrograms, ImportLegacyOptions, ImportLegacyEmus, ImportLegacyFilters}) {
        if (Status imported = import(catalogue); !imported)
            return imported.Error();
    }
    catalogue.ProgramsChanged = true;
    // Only once the import has succeeded: a failed one ends the run without a save.
    ReportImportOverProgramsFile(catalogue, prompts, access, copies);
    return CatalogueSource::Legacy;
}

SeenFile SeenBeforeReading(const std::string& path)
{
    SeenFile seen;
    seen.Tracked = true;
    Result<FileIdentity> identity = IdentifyFile(path);
    if (identity)
        seen.Identity = identity.Value();
    else
        seen.ChangedWhileRead = true; // not known what it holds; the load says why
    return seen;
}

void CheckAfterReading(SeenFile& seen, const std::string& path)
{
    if (ChangedSince(seen.Identity, path))
        seen.ChangedWhileRead = true;
}

} // namespace

Result<CatalogueSource> LoadCatalogue(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress,
    LoadAccess access, FileWriter& copies)
{
    catalogue.PendingCopies.clear();
    catalogue.ProgramsFileSeen = {};
    catalogue.OptionsFileSeen = {};
    // A caller that saves later is told then whether anything else has written the files
    // meanwhile; so it notes what they are now, before they are read.
    const bool track = access == LoadAccess::KeepCopies;
    if (track) {
        catalogue.ProgramsFileSeen = SeenBeforeReading(catalogue.AppFile(kProgramsFile));
        catalogue.OptionsFileSeen = SeenBeforeReading(catalogue.AppFile(kOptionsFile));
    }
    Result<CatalogueSource> loaded = LoadFromSource(catalogue, prompts, progress, access, copies);
    if (track) {
        CheckAfterReading(catalogue.ProgramsFileSeen, catalogue.AppFile(kProgramsFile));
        CheckAfterReading(catalogue.OptionsFileSeen, catalogue.AppFile(kOptionsFile));
    }
    return loaded;
}

namespace {

constexpr const char* kOutsideTag = "outside";

// A save that fails after keeping copies still tells where they are.
Failure WithNotices(const std::vector<std::string>& notices, Failure failure)
{
    for (auto it = notices.rbegin(); it != notices.rend(); ++it)
        failure.Message = *it + " " + failure.Message;
    return failure;
}

// A catalogue file that something else has written since this catalogue read or wrote it.
struct OutsideVersion {
    const char* RelativeName;
    std::string Path;
};

bool WrittenOutside(const SeenFile& seen, const std::string& path)
{
    return seen.Tracked && PathExists(path) && (seen.ChangedWhileRead || ChangedSince(seen.Identity, path));
}

// Asks, for each file that was written outside, whether to save over it; true when the
// answer was Yes for all of them. The version on disk is then kept first, under the name
// the question gave it.
bool AgreedToSaveOver(const Catalogue& catalogue, const std::vector<OutsideVersion>& outside, Prompts* prompts)
{
    for (const OutsideVersion& version : outside) {
        if (prompts == nullptr)
            return false;
        const std::string kept = NextKeptCopyName(version.Path, kOutsideTag);
        const std::string shown = kept.substr(std::min(kept.size(), catalogue.AppDir.size()));
        if (!prompts->Confirm(std::string(version.RelativeName)
                + " was changed outside Vorbix since it was loaded. Save the catalogue shown here over it? "
                  "The version on disk is kept as "
                + shown + "."))
            return false;
    }
    return true;
}

Status KeepOutsideVersion(const std::string& path, FileWriter& writer)
{
    Result<std::string> kept = KeepCopyBeside(path, kOutsideTag, writer);
    if (!kept)
        return Failure{"Cannot save " + path + ": it was changed outside Vorbix, and that version could not be kept ("
                + kept.Message() + "). It was left as it is.",
            path};
    return {};
}

// After a file was written: what it is now, for the next save's look.
void NoteWritten(SeenFile& seen, const std::string& path)
{
    if (!seen.Tracked)
        return;
    Result<FileIdentity> identity = IdentifyFile(path);
    seen.ChangedWhileRead = !identity;
    if (identity)
        seen.Identity = identity.Value();
}

// The files a save would write that something else has written since.
std::vector<OutsideVersion> OutsideVersions(const Catalogue& catalogue, bool withPrograms)
{
    std::vector<OutsideVersion> outside;
    const std::string programsPath = catalogue.AppFile(kProgramsFile);
    const std::string optionsPath = catalogue.AppFile(kOptionsFile);
    if (withPrograms && WrittenOutside(catalogue.ProgramsFileSeen, programsPath))
        outside.push_back({kProgramsFile, programsPath});
    if (WrittenOutside(catalogue.OptionsFileSeen, optionsPath))
        outside.push_back({kOptionsFile, optionsPath});
    return outside;
}

} // namespace

bool SaveWouldAsk(const Catalogue& catalogue, bool atExit)
{
    return !OutsideVersions(catalogue, catalogue.ProgramsChanged || !atExit).empty();
}

Result<SavedFiles> SaveCatalogue(Catalogue& catalogue, bool atExit, const std::string& lastFilter,
    const std::string& lastEmu, FileWriter& writer, Prompts* prompts)
{
    const bool withPrograms = catalogue.ProgramsChanged || !atExit;
    const std::string programsPath = catalogue.AppFile(kProgramsFile);
    const std::string optionsPath = catalogue.AppFile(kOptionsFile);
    SavedFiles saved;
    // Nothing is written before the user has decided about every file written outside.
    const std::vector<OutsideVersion> outside = OutsideVersions(catalogue, withPrograms);
    if (!AgreedToSaveOver(catalogue, outside, prompts)) {
        saved.Declined = true;
        return saved;
    }
    // A first save into a fresh application folder creates "Data".
    const std::string dataDir = catalogue.AppFile("Data");
    if (!DirectoryExists(dataDir) && !ForceDirectories(dataDir))
        return Failure::CannotCreate(withPrograms ? programsPath : optionsPath);
    for (const OutsideVersion& version : outside)
        if (Status kept = KeepOutsideVersion(version.Path, writer); !kept)
            return kept.Error();
    if (withPrograms) {
        if (Status kept = KeepOwedCopy(catalogue, programsPath, writer, saved.Notices); !kept)
            return kept.Error();
        if (Status written = SaveProgramsFile(catalogue, writer); !written)
            return WithNotices(saved.Notices, written.Error());
        saved.ProgramsFile = true;
        NoteWritten(catalogue.ProgramsFileSeen, programsPath);
    }
    if (Status kept = KeepOwedCopy(catalogue, optionsPath, writer, saved.Notices); !kept)
        return WithNotices(saved.Notices, kept.Error());
    if (Status written = SaveOptionsFile(catalogue, lastFilter, lastEmu, writer); !written)
        return WithNotices(saved.Notices, written.Error());
    saved.OptionsFile = true;
    NoteWritten(catalogue.OptionsFileSeen, optionsPath);
    return saved;
}

} // namespace vorbix
