#pragma once
// The three record types of the catalogue: programs, emulator definitions and filters.

#include "platform/Prefetch.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

using StringList = std::vector<std::string>;

// One catalogue program: a disk or ROM image with its descriptive data.
struct ProgramRecord {
    std::string ProgramName;
    std::string FileUrl;
    std::string PublisherName;
    std::string ProgramType;
    bool Favourite = false;
    bool E00Dfs = false;
    StringList Comments;
    StringList EmuWarningEmus; // parallel to EmuWarningTexts
    StringList EmuWarningTexts;
    StringList DocLinkNames; // parallel to DocLinkUrls
    StringList DocLinkUrls;

    bool operator==(const ProgramRecord&) const = default;
};

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

// One emulator definition: how an installed emulator is started and fed.
struct EmuRecord {
    std::string EmuName;
    std::string EmuUrl;
    std::string CommandLineString;
    std::string EnvVarName;
    std::string EnvVarValue;
    std::string EnvVarSsName;
    std::string EnvVarSsValue;
    std::string EnvVarDsName;
    std::string EnvVarDsValue;
    std::string DiskWorkingDir;
    std::string DiskFilename;
    std::string RomWorkingDir;
    std::string RomFilename;
    std::string RomFileExt;
    std::string DfsName = "DFS.ROM";
    std::string E00DfsName = "E00DFS.ROM";
    bool CleanDiskWorkingDir = false;
    bool CleanRomWorkingDir = false;
    bool ProcessRomsCfgModelB = false;
    bool ProcessRomsCfgMaster128 = false;
    bool HandleDfs = false;

    bool operator==(const EmuRecord&) const = default;
};

// Condition on a program's Favourite flag; the values are those of a three-state check box.
enum class FavouriteCondition : std::uint8_t { fcFalse = 0, fcTrue = 1, fcDontCare = 2 };

// One named filter of the main window.
struct FilterRecord {
    std::string FilterName;
    std::string FPublisher = "any";
    std::string FPubComp = "=";
    std::string FType = "any";
    std::string FTypeComp = "=";
    FavouriteCondition FFavourite = FavouriteCondition::fcDontCare;

    bool operator==(const FilterRecord&) const = default;
};

} // namespace vorbix
