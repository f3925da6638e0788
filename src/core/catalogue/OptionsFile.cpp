#include "catalogue/OptionsFile.h"

#include "catalogue/ElementReading.h"
#include "catalogue/GatheredMessages.h"
#include "catalogue/OwedCopies.h"
#include "catalogue/RecordFields.h"
#include "catalogue/XMLUtilities.h"

#include <cstring>

namespace vorbix {

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
            }};
        XMLElementRule other{"other-options", {}};
        for (const RememberedField& field : kRememberedFields)
            other.Children.push_back({field.Leaf, true});
        for (const OtherOptionField& field : kOtherOptionFields)
            other.Children.push_back({field.Leaf, true});
        s.Containers.push_back(std::move(other));
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
        for (const EmuFlagField& field : kEmuOptionalFlagFields)
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

void ReadRecords(TXMLLoadObject& reader, Catalogue& catalogue)
{
    ForEachElement(reader, FindContainer(reader, "emulators"), "emulator", [&](const TXMLFocus& e) {
        EmuRecord emu;
        for (const EmuTextField& field : kEmuTextFields)
            emu.*field.Member = ReadLeaf(reader, field.Leaf, e);
        for (const EmuFlagField& field : kEmuFlagFields)
            emu.*field.Member = TextToBool(ReadLeaf(reader, field.Leaf, e));
        for (const EmuFlagField& field : kEmuOptionalFlagFields)
            emu.*field.Member = TextToBool(ReadOptionalLeaf(reader, field.Leaf, e));
        catalogue.EmuList.push_back(std::move(emu));
    });
    ForEachElement(reader, FindContainer(reader, "filters"), "filter", [&](const TXMLFocus& f) {
        FilterRecord filter;
        for (const FilterTextField& field : kFilterTextFields)
            filter.*field.Member = ReadLeaf(reader, field.Leaf, f);
        filter.FFavourite = FavouriteFromText(ReadLeaf(reader, "f-favourite", f));
        catalogue.FilterList.push_back(std::move(filter));
    });
}

// The items of a category list: <container><item>name</item>...</container>.
void ReadCategory(TXMLLoadObject& reader, const char* container, const char* item, NameList& names)
{
    StringList read;
    read.reserve(reader.CountOpening(item));
    ForEachElement(reader, FindContainer(reader, container), item,
        [&](const TXMLFocus&) { read.push_back(reader.Getvalue()); });
    names.AddAll(std::move(read));
}

void ReadOtherOptions(TXMLLoadObject& reader, Catalogue& catalogue)
{
    const TXMLFocus other = FindContainer(reader, "other-options");
    for (const RememberedField& field : kRememberedFields)
        catalogue.*field.Member = ReadLeaf(reader, field.Leaf, other);
    for (const OtherOptionField& field : kOtherOptionFields) {
        std::string value = ReadLeaf(reader, field.Leaf, other);
        if (field.Flag != nullptr)
            catalogue.Options.*field.Flag = TextToBool(value);
        else
            catalogue.Options.*field.Text = std::move(value);
    }
}

void WriteEmulator(TXMLSaveObject& writer, const EmuRecord& emu)
{
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
    for (const EmuFlagField& field : kEmuOptionalFlagFields)
        if (emu.*field.Member)
            writer.WriteElement(field.Leaf, BoolToText(true));
    writer.CloseElement("emulator");
}

void WriteFilter(TXMLSaveObject& writer, const FilterRecord& filter)
{
    writer.OpenElement("filter");
    for (const FilterTextField& field : kFilterTextFields)
        writer.WriteElement(field.Leaf, filter.*field.Member);
    writer.WriteElement("f-favourite", FavouriteToText(filter.FFavourite));
    writer.CloseElement("filter");
}

void WriteCategory(TXMLSaveObject& writer, const char* container, const char* item, const NameList& names)
{
    writer.OpenElement(container);
    for (const auto& name : names)
        writer.WriteElement(item, name);
    writer.CloseElement(container);
}

void WriteOtherOptions(TXMLSaveObject& writer, const Catalogue& catalogue)
{
    writer.OpenElement("other-options");
    for (const RememberedField& field : kRememberedFields)
        writer.WriteElement(field.Leaf, catalogue.*field.Member);
    for (const OtherOptionField& field : kOtherOptionFields)
        writer.WriteElement(field.Leaf,
            field.Flag != nullptr ? BoolToText(catalogue.Options.*field.Flag) : catalogue.Options.*field.Text);
    writer.CloseElement("other-options");
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
    ReadRecords(reader, catalogue);
    ReadCategory(reader, "publishers", "publisher", catalogue.Publishers);
    ReadCategory(reader, "program-types", "type", catalogue.ProgramTypes);
    ReadOtherOptions(reader, catalogue);
    missing.ShowTo(prompts, path);
    return {};
}

std::string OptionsFileBytes(const Catalogue& catalogue)
{
    TXMLSaveObject writer;
    writer.DocType = "options";
    writer.OpenElement("options");
    writer.WriteElement("vorbix-version", kVorbixVersion);
    writer.OpenElement("emulators");
    for (const EmuRecord& emu : catalogue.EmuList)
        WriteEmulator(writer, emu);
    writer.CloseElement("emulators");
    writer.OpenElement("filters");
    for (const FilterRecord& filter : catalogue.FilterList)
        WriteFilter(writer, filter);
    writer.CloseElement("filters");
    WriteCategory(writer, "publishers", "publisher", catalogue.Publishers);
    WriteCategory(writer, "program-types", "type", catalogue.ProgramTypes);
    WriteOtherOptions(writer, catalogue);
    writer.CloseElement("options");
    return writer.ToBytes();
}

std::string EmulatorElementBytes(const EmuRecord& emu)
{
    TXMLSaveObject writer;
    WriteEmulator(writer, emu);
    // The file's header (the XML declaration and a blank line) ends at the first empty line.
    const std::string bytes = writer.ToBytes();
    const std::size_t body = bytes.find("\r\n\r\n");
    return body == std::string::npos ? bytes : bytes.substr(body + 4);
}

Status SaveOptionsFile(const Catalogue& catalogue, FileWriter& writer)
{
    const std::string path = catalogue.AppFile(kOptionsFile);
    if (Status refused = RefuseWhileOwed(catalogue, path); !refused)
        return refused;
    return writer.WriteFile(path, OptionsFileBytes(catalogue));
}

} // namespace vorbix
