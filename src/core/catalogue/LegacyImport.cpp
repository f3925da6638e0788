// The four legacy files are plain lines read by position, with counts that say how many
// lines follow.

#include "catalogue/LegacyImport.h"

#include "catalogue/CatalogueFiles.h"
#include "catalogue/RecordFields.h"
#include "platform/FileSystem.h"

#include <cctype>
#include <climits>
#include <optional>

namespace vorbix {

namespace {

// Walks the lines of a legacy file. A file shorter than its counts promise yields empty
// text for every missing line and 0 for every missing count, so nothing reads past the end.
class LineCursor {
public:
    explicit LineCursor(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    bool AtEnd() const { return pos_ >= lines_.size(); }

    std::string Next() { return AtEnd() ? std::string() : lines_[pos_++]; }
    const std::string& Peek() const
    {
        static const std::string empty;
        return AtEnd() ? empty : lines_[pos_];
    }
    void Skip() { Next(); }

    // A count line: a decimal integer (an optional sign, then digits); a negative count
    // means no lines follow. Anything else is the conversion error, which ends the reading:
    // the cursor stands at the end from then on.
    int NextCount()
    {
        if (AtEnd())
            return 0;
        const std::string text = lines_[pos_++];
        std::optional<int> count = ParseCount(text);
        if (!count) {
            failure_ = Failure::NotAnInteger(text);
            pos_ = lines_.size();
            return 0;
        }
        return *count;
    }

    const std::vector<std::string>& Lines() const { return lines_; }
    Status Outcome() const { return failure_ ? Status(*failure_) : Status(); }

private:
    static std::optional<int> ParseCount(const std::string& text)
    {
        std::size_t i = 0;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negative = text[i++] == '-';
        if (i == text.size())
            return std::nullopt;
        long long value = 0;
        for (; i < text.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(text[i])))
                return std::nullopt;
            value = value * 10 + (text[i] - '0');
            if (value > INT_MAX)
                return std::nullopt;
        }
        return negative ? 0 : static_cast<int>(value);
    }

    std::vector<std::string> lines_;
    std::size_t pos_ = 0;
    std::optional<Failure> failure_;
};

// Flags of Programs.ini and Emus.ini: only "False" is false.
bool NotFalse(const std::string& text)
{
    return text != "False";
}

// Reads count lines into the list, stopping at the end of the file.
void ReadLines(LineCursor& cursor, int count, StringList& into)
{
    for (int i = 0; i < count && !cursor.AtEnd(); ++i)
        into.push_back(cursor.Next());
}

// Reads count pairs of lines into two parallel lists, stopping at the end of the file.
void ReadPairs(LineCursor& cursor, int count, StringList& firsts, StringList& seconds)
{
    for (int i = 0; i < count && !cursor.AtEnd(); ++i) {
        firsts.push_back(cursor.Next());
        seconds.push_back(cursor.Next());
    }
}

// Reads a legacy file's lines with the cursor; a missing file reads nothing, one that
// cannot be read is "Cannot open file " + path.
template <typename Read>
Status ReadLegacy(const Catalogue& catalogue, const char* name, Read read)
{
    const std::string path = catalogue.AppFile(name);
    if (!FileExists(path))
        return {};
    Result<std::vector<std::string>> lines = ReadFileLines(path);
    if (!lines)
        return lines.Error();
    LineCursor cursor(std::move(lines).Value());
    read(cursor);
    return cursor.Outcome();
}

constexpr const char* kWarningsSeparator = "#@%#123#@%#";

} // namespace

Status ImportLegacyPrograms(Catalogue& catalogue)
{
    catalogue.ProgramList.clear();
    return ReadLegacy(catalogue, kLegacyProgramsFile, [&](LineCursor& cursor) {
        const int count = cursor.NextCount();
        for (int n = 0; n < count && !cursor.AtEnd(); ++n) {
            ProgramRecord program;
            program.ProgramName = cursor.Next();
            program.FileUrl = cursor.Next();
            program.PublisherName = cursor.Next();
            program.ProgramType = cursor.Next();
            program.Favourite = NotFalse(cursor.Next());
            program.E00Dfs = NotFalse(cursor.Next());
            ReadLines(cursor, cursor.NextCount(), program.Comments);
            if (cursor.Peek() == kWarningsSeparator) {
                cursor.Skip();
                ReadPairs(cursor, cursor.NextCount(), program.EmuWarningEmus, program.EmuWarningTexts);
            }
            ReadPairs(cursor, cursor.NextCount(), program.DocLinkNames, program.DocLinkUrls);
            catalogue.ProgramList.push_back(std::move(program));
        }
    });
}

Status ImportLegacyOptions(Catalogue& catalogue)
{
    catalogue.LastProgramDir.clear();
    catalogue.LastEmuDir.clear();
    catalogue.LastDocDir.clear();
    catalogue.LastEmu.clear();
    catalogue.LastFilter = "all";
    OtherOptions& o = catalogue.Options;
    o.CopyDiskBack = o.CopyPicture = o.UseE00Dfs = o.AskAddToList = false;
    o.PictureUrl.clear();

    return ReadLegacy(catalogue, kLegacyOptionsFile, [&](LineCursor& cursor) {
        const int publishers = cursor.NextCount();
        const int types = cursor.NextCount();
        for (int i = 0; i < publishers && !cursor.AtEnd(); ++i)
            catalogue.Publishers.Add(cursor.Next());
        for (int i = 0; i < types && !cursor.AtEnd(); ++i)
            catalogue.ProgramTypes.Add(cursor.Next());
        catalogue.LastProgramDir = cursor.Next();
        catalogue.LastEmuDir = cursor.Next();
        catalogue.LastDocDir = cursor.Next();
        // A file that ends before the remembered filter leaves it "all", the name of no filter.
        if (!cursor.AtEnd())
            catalogue.LastFilter = cursor.Next();
        catalogue.LastEmu = cursor.Next();
        o.AskAddToList = cursor.Next() == "true";
        cursor.Skip();
        cursor.Skip();
        o.CopyDiskBack = cursor.Next() == "true";
        o.CopyPicture = cursor.Next() == "true";
        o.PictureUrl = cursor.Next();
        // The last three lines belong to a later layout; a file that ends before them sets them off.
        o.UseE00Dfs = cursor.Next() == "true";
        o.CompatibilityWarning = cursor.Next() == "true";
        o.E00DfsWarning = cursor.Next() == "true";
    });
}

Status ImportLegacyEmus(Catalogue& catalogue)
{
    catalogue.EmuList.clear();
    return ReadLegacy(catalogue, kLegacyEmusFile, [&](LineCursor& cursor) {
        const bool laterLayout = !cursor.Lines().empty() && cursor.Lines().back() == "2.2";
        const int count = cursor.NextCount();
        for (int n = 0; n < count && !cursor.AtEnd(); ++n) {
            EmuRecord emu;
            for (const EmuTextField& field : kEmuTextFields)
                emu.*field.Member = cursor.Next();
            int flag = 0;
            for (const EmuFlagField& field : kEmuFlagFields)
                if (flag++ < kEmuFlagsInEveryLegacyFile || laterLayout)
                    emu.*field.Member = NotFalse(cursor.Next());
            // The earlier layout knows no ROMS.CFG processing and always handled the DFS.
            if (!laterLayout) {
                emu.ProcessRomsCfgModelB = false;
                emu.ProcessRomsCfgMaster128 = false;
                emu.HandleDfs = true;
            }
            catalogue.EmuList.push_back(std::move(emu));
        }
    });
}

Status ImportLegacyFilters(Catalogue& catalogue)
{
    catalogue.FilterList.clear();
    return ReadLegacy(catalogue, kLegacyFiltersFile, [&](LineCursor& cursor) {
        const int count = cursor.NextCount();
        for (int n = 0; n < count && !cursor.AtEnd(); ++n) {
            FilterRecord filter;
            for (const FilterTextField& field : kFilterTextFields)
                if (field.InLegacyFile)
                    filter.*field.Member = cursor.Next();
            const std::string favourite = cursor.Next();
            filter.FFavourite = favourite == "Checked" ? FavouriteCondition::fcTrue
                : favourite == "Unchecked"             ? FavouriteCondition::fcFalse
                                                       : FavouriteCondition::fcDontCare;
            filter.FPubComp = "=";
            filter.FTypeComp = "=";
            catalogue.FilterList.push_back(std::move(filter));
        }
    });
}

} // namespace vorbix
