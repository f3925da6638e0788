#include "catalogue/Main_LoadSaveUnit.h"

#include "host/Prompts.h"
#include "catalogue/RecordFields.h"
#include "catalogue/Utilities.h"
#include "catalogue/XMLUtilities.h"
#include "platform/Collation.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace vorbix {

// ---- programs file --------------------------------------------------------

namespace {

// Reads the leaf of the given name inside the parent (the first one) and returns its value.
std::string ReadLeaf(TXMLLoadObject& reader, const char* name, const TXMLFocus& parent)
{
    TXMLFocus leaf;
    reader.FindElement(name, 1, leaf, parent);
    return reader.Getvalue();
}

// Reads the i-th pair elements inside the parent into two parallel lists.
void ReadPairs(TXMLLoadObject& reader, const TXMLFocus& parent, const char* element,
    const char* first, const char* second, StringList& firsts, StringList& seconds)
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
    while (!comments.empty() && TrimTrailingSpaces(comments.back()).empty())
        comments.pop_back();
}

// A catalogue file without its whole root element (truncated, or not a catalogue file at
// all) is read as far as it goes, but first copied aside and reported, so that a later
// save cannot silently replace the only copy of what it held.
void KeepDamagedFile(TXMLLoadObject& reader, const std::string& path, const char* root, Prompts& prompts)
{
    TXMLFocus whole;
    reader.FindElement(root, 1, whole, NoFocus);
    if (reader.IsFocusSet(whole))
        return;
    const std::string copy = path + ".damaged";
    if (CopyFileOverwrite(path, copy))
        prompts.ShowMessage("File " + path + " is damaged or incomplete. What could be read was loaded; the file was copied to " + copy + ".");
    else
        prompts.ShowMessage("File " + path + " is damaged or incomplete. What could be read was loaded.");
}

// Writes a container of pair elements when the first list has entries. The pair's count
// comes from the first list; a shorter second list gives empty texts.
void WritePairs(TXMLSaveObject& writer, const char* container, const char* element, const char* first,
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

Status LoadProgramsFile(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress)
{
    catalogue.ProgramList.clear();
    if (progress)
        progress("Loading programs...");
    // Something at the path that is not a readable file is an error, not an empty catalogue.
    const std::string path = catalogue.AppFile(kProgramsFile);
    if (!PathExists(path))
        return {};
    TXMLLoadObject reader(&prompts);
    if (Status loaded = reader.LoadFromFile(path); !loaded)
        return loaded;
    KeepDamagedFile(reader, path, "programs", prompts);

    long long loaded = 0;
    for (int p = 1;; ++p) {
        TXMLFocus publisher;
        reader.FindElement("publisher", p, publisher, NoFocus);
        if (!reader.IsFocusSet(publisher))
            break;
        const std::string publisherName = ReadLeaf(reader, "publisher-name", publisher);
        for (int k = 1;; ++k) {
            TXMLFocus program;
            reader.FindElement("program", k, program, publisher);
            if (!reader.IsFocusSet(program))
                break;
            ProgramRecord record;
            record.PublisherName = publisherName;
            record.ProgramName = ReadLeaf(reader, "program-name", program);
            record.ProgramType = ReadLeaf(reader, "program-type", program);
            record.FileUrl = ReadLeaf(reader, "file-url", program);
            record.Favourite = TextToBool(ReadLeaf(reader, "favourite", program));
            record.E00Dfs = TextToBool(ReadLeaf(reader, "e00dfs", program));
            for (int i = 1;; ++i) {
                TXMLFocus line;
                reader.FindElement("commentline", i, line, program);
                if (!reader.IsFocusSet(line))
                    break;
                record.Comments.push_back(reader.Getvalue());
            }
            ReadPairs(reader, program, "emuwarning", "emu-name", "warningtext", record.EmuWarningEmus,
                record.EmuWarningTexts);
            ReadPairs(reader, program, "doclink", "doc-name", "doc-url", record.DocLinkNames, record.DocLinkUrls);
            ++loaded;
            if (progress)
                progress("Loading programs: " + std::to_string(loaded));
            catalogue.ProgramList.push_back(std::move(record));
        }
    }
    return {};
}

std::string ProgramsFileBytes(Catalogue& catalogue)
{
    TXMLSaveObject writer;
    writer.Stylesheet = "programs.xsl";
    writer.DocType = "programs";
    writer.DtdFile = "programs.dtd";

    // Distinct publisher names (exact comparison), sorted without regard to case.
    std::vector<std::string> publishers;
    {
        std::unordered_set<std::string> seen;
        for (const auto& program : catalogue.ProgramList)
            if (seen.insert(program.PublisherName).second)
                publishers.push_back(program.PublisherName);
    }
    std::stable_sort(publishers.begin(), publishers.end(),
        [](const std::string& a, const std::string& b) { return CompareTextIgnoreCase(a, b) < 0; });

    // The programs of each publisher in ProgramList order, grouped in one pass.
    std::unordered_map<std::string, std::vector<std::size_t>> byPublisher;
    for (std::size_t i = 0; i < catalogue.ProgramList.size(); ++i)
        byPublisher[catalogue.ProgramList[i].PublisherName].push_back(i);

    writer.XmlText.reserve(catalogue.ProgramList.size() * 400);
    writer.OpenElement("programs");
    writer.WriteElement("vorbix-version", kVorbixVersion);
    for (const auto& publisher : publishers) {
        writer.OpenElement("publisher");
        writer.WriteElement("publisher-name", publisher);
        for (std::size_t index : byPublisher[publisher]) {
            ProgramRecord& program = catalogue.ProgramList[index];
            writer.OpenElement("program");
            writer.WriteElement("program-name", program.ProgramName);
            writer.WriteElement("program-type", program.ProgramType);
            writer.WriteElement("file-url", program.FileUrl);
            writer.WriteElement("favourite", BoolToText(program.Favourite));
            writer.WriteElement("e00dfs", BoolToText(program.E00Dfs));
            const std::string picture = PictureFileFor(program.FileUrl);
            if (FileExists(picture))
                writer.WriteElement("picture-url", picture);
            const std::string boxCover = BoxCoverFileFor(program.FileUrl);
            if (FileExists(boxCover))
                writer.WriteElement("boxcover-url", boxCover);
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
    return writer.ToBytes();
}

Status SaveProgramsFile(Catalogue& catalogue, FileWriter& writer)
{
    return writer.WriteFile(catalogue.AppFile(kProgramsFile), ProgramsFileBytes(catalogue));
}

// ---- options file ---------------------------------------------------------

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

Status LoadOptionsFile(Catalogue& catalogue, Prompts& prompts)
{
    catalogue.EmuList.clear();
    catalogue.FilterList.clear();
    catalogue.ResetRememberedAndOptions();
    const std::string path = catalogue.AppFile(kOptionsFile);
    if (!PathExists(path))
        return {};
    TXMLLoadObject reader(&prompts);
    if (Status loaded = reader.LoadFromFile(path); !loaded)
        return loaded;
    KeepDamagedFile(reader, path, "options", prompts);

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

    ForEachElement(reader, FindContainer(reader, "publishers"), "publisher",
        [&](const TXMLFocus&) { catalogue.Publishers.Add(reader.Getvalue()); });
    ForEachElement(reader, FindContainer(reader, "program-types"), "type",
        [&](const TXMLFocus&) { catalogue.ProgramTypes.Add(reader.Getvalue()); });

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
    return writer.WriteFile(catalogue.AppFile(kOptionsFile), OptionsFileBytes(catalogue, lastFilter, lastEmu));
}

// ---- start-up and shut-down -----------------------------------------------

Result<CatalogueSource> LoadCatalogue(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress)
{
    const bool haveOptions = FileExists(catalogue.AppFile(kOptionsFile));
    const bool haveLegacy = FileExists(catalogue.AppFile("Options.ini"));
    if (haveOptions || !haveLegacy) {
        if (Status loaded = LoadProgramsFile(catalogue, prompts, progress); !loaded)
            return loaded.Error();
        if (Status loaded = LoadOptionsFile(catalogue, prompts); !loaded)
            return loaded.Error();
        return haveOptions || FileExists(catalogue.AppFile(kProgramsFile)) ? CatalogueSource::Xml
                                                                            : CatalogueSource::None;
    }
    if (progress)
        progress("Loading programs...");
    for (Status (*import)(Catalogue&) : {ImportLegacyPrograms, ImportLegacyOptions, ImportLegacyEmus,
             ImportLegacyFilters}) {
        if (Status imported = import(catalogue); !imported)
            return imported.Error();
    }
    catalogue.ProgramsChanged = true;
    return CatalogueSource::Legacy;
}

Result<SavedFiles> SaveCatalogue(Catalogue& catalogue, bool atExit, const std::string& lastFilter,
    const std::string& lastEmu, FileWriter& writer)
{
    const bool withPrograms = catalogue.ProgramsChanged || !atExit;
    // A first save into a fresh application folder creates "Data".
    const std::string dataDir = catalogue.AppFile("Data");
    if (!DirectoryExists(dataDir) && !ForceDirectories(dataDir))
        return Failure::CannotCreate(catalogue.AppFile(withPrograms ? kProgramsFile : kOptionsFile));
    SavedFiles saved;
    if (withPrograms) {
        if (Status written = SaveProgramsFile(catalogue, writer); !written)
            return written.Error();
        saved.ProgramsFile = true;
    }
    if (Status written = SaveOptionsFile(catalogue, lastFilter, lastEmu, writer); !written)
        return written.Error();
    saved.OptionsFile = true;
    return saved;
}

} // namespace vorbix
