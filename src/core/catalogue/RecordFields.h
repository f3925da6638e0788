#pragma once
// The fields of the catalogue's records with their leaf names in the two catalogue files, in
// the order the files hold them: one table per record serves the check of a file's
// structure, the readers, the writer and the legacy import, so a new leaf is one row here
// and one member in the record.

#include "catalogue/Catalogue.h"
#include "catalogue/Records.h"

#include <string>
#include <string_view>

namespace vorbix {

struct EmuTextField {
    const char* Leaf;
    std::string EmuRecord::*Member;
    const char* Group; // the element the writer puts the leaf in; nullptr for none
};

inline constexpr EmuTextField kEmuTextFields[] = {
    {"emu-name", &EmuRecord::EmuName, nullptr},
    {"emu-url", &EmuRecord::EmuUrl, nullptr},
    {"commandline-string", &EmuRecord::CommandLineString, nullptr},
    {"environment-var-name", &EmuRecord::EnvVarName, "environment-var"},
    {"environment-var-value", &EmuRecord::EnvVarValue, "environment-var"},
    {"environment-var-ss-name", &EmuRecord::EnvVarSsName, "environment-var-ss"},
    {"environment-var-ss-value", &EmuRecord::EnvVarSsValue, "environment-var-ss"},
    {"environment-var-ds-name", &EmuRecord::EnvVarDsName, "environment-var-ds"},
    {"environment-var-ds-value", &EmuRecord::EnvVarDsValue, "environment-var-ds"},
    {"disk-working-dir", &EmuRecord::DiskWorkingDir, nullptr},
    {"disk-filename", &EmuRecord::DiskFilename, nullptr},
    {"rom-working-dir", &EmuRecord::RomWorkingDir, nullptr},
    {"rom-filename", &EmuRecord::RomFilename, nullptr},
    {"rom-file-ext", &EmuRecord::RomFileExt, nullptr},
    {"dfs-name", &EmuRecord::DfsName, nullptr},
    {"e00dfs-name", &EmuRecord::E00DfsName, nullptr},
};

struct EmuFlagField {
    const char* Leaf;
    bool EmuRecord::*Member;
};

// The first two are in every Emus.ini; the other three only in the later layout.
inline constexpr EmuFlagField kEmuFlagFields[] = {
    {"clean-disk-working-dir", &EmuRecord::CleanDiskWorkingDir},
    {"clean-rom-working-dir", &EmuRecord::CleanRomWorkingDir},
    {"process-romscfg-modelb", &EmuRecord::ProcessRomsCfgModelB},
    {"process-romscfg-master128", &EmuRecord::ProcessRomsCfgMaster128},
    {"handle-dfs", &EmuRecord::HandleDfs},
};
inline constexpr int kEmuFlagsInEveryLegacyFile = 2;

// Flags written after the others only when set, so that a file whose emulators never set
// them stays byte for byte as it was; a missing one reads as false, without a message.
inline constexpr EmuFlagField kEmuOptionalFlagFields[] = {
    {"wait-for-exit", &EmuRecord::WaitForExit},
};

struct FilterTextField {
    const char* Leaf;
    std::string FilterRecord::*Member;
    bool InLegacyFile; // Filters.ini holds the name, publisher and type, in this order
};

// The favourite condition follows these as "f-favourite" (its own conversion).
inline constexpr FilterTextField kFilterTextFields[] = {
    {"filter-name", &FilterRecord::FilterName, true},
    {"f-publisher", &FilterRecord::FPublisher, true},
    {"f-pubcomp", &FilterRecord::FPubComp, false},
    {"f-type", &FilterRecord::FType, true},
    {"f-typecomp", &FilterRecord::FTypeComp, false},
};

// ---- the programs file: a <program> inside its <publisher> ----------------------------

struct ProgramTextField {
    std::string_view Leaf;
    std::string ProgramRecord::*Member;
};

// Each of these leaves and the flags below stands exactly once in a program.
inline constexpr ProgramTextField kProgramTextFields[] = {
    {"program-name", &ProgramRecord::ProgramName},
    {"program-type", &ProgramRecord::ProgramType},
    {"file-url", &ProgramRecord::FileUrl},
};

struct ProgramFlagField {
    std::string_view Leaf;
    bool ProgramRecord::*Member;
};

inline constexpr ProgramFlagField kProgramFlagFields[] = {
    {"favourite", &ProgramRecord::Favourite},
    {"e00dfs", &ProgramRecord::E00Dfs},
};

// Leaves the writer derives from the disk and the readers pass over: the file named
// ImageFileStem(FileUrl) + Suffix (PictureFileFor, BoxCoverFileFor), written when it exists.
struct ProgramDerivedLeaf {
    std::string_view Leaf;
    std::string_view Suffix;
};

inline constexpr ProgramDerivedLeaf kProgramDerivedLeaves[] = {
    {"picture-url", ".jpg"},
    {"boxcover-url", "-box.jpg"},
};

// A list of lines: <Container><Item>line</Item>...</Container>; the items may also stand
// directly in the program.
struct ProgramLineList {
    std::string_view Container;
    std::string_view Item;
    StringList ProgramRecord::*Member;
};

inline constexpr ProgramLineList kProgramLineLists[] = {
    {"comments", "commentline", &ProgramRecord::Comments},
};

// A list of pairs kept as two parallel lists: <Container><Item><First/><Second/></Item>...;
// the items may also stand directly in the program, and each holds both leaves once.
struct ProgramPairList {
    std::string_view Container;
    std::string_view Item;
    std::string_view FirstLeaf;
    std::string_view SecondLeaf;
    StringList ProgramRecord::*Firsts;
    StringList ProgramRecord::*Seconds;
};

inline constexpr ProgramPairList kProgramPairLists[] = {
    {"emuwarnings", "emuwarning", "emu-name", "warningtext", &ProgramRecord::EmuWarningEmus,
        &ProgramRecord::EmuWarningTexts},
    {"doclinks", "doclink", "doc-name", "doc-url", &ProgramRecord::DocLinkNames, &ProgramRecord::DocLinkUrls},
};

// ---- the options file: <other-options> ------------------------------------------------

// The remembered folders and selections, first in <other-options>.
struct RememberedField {
    const char* Leaf;
    std::string Catalogue::*Member;
};

inline constexpr RememberedField kRememberedFields[] = {
    {"last-program-dir", &Catalogue::LastProgramDir},
    {"last-emu-dir", &Catalogue::LastEmuDir},
    {"last-doc-dir", &Catalogue::LastDocDir},
    {"last-filter", &Catalogue::LastFilter},
    {"last-emu", &Catalogue::LastEmu},
};

// The seven options after them; each row has either a flag or a text member.
struct OtherOptionField {
    const char* Leaf;
    bool OtherOptions::*Flag;
    std::string OtherOptions::*Text;
};

inline constexpr OtherOptionField kOtherOptionFields[] = {
    {"preprocessing-compatibilitywarning", &OtherOptions::CompatibilityWarning, nullptr},
    {"preprocessing-e00dfswarning", &OtherOptions::E00DfsWarning, nullptr},
    {"postprocessing-copydiskback", &OtherOptions::CopyDiskBack, nullptr},
    {"postprocessing-copypicture", &OtherOptions::CopyPicture, nullptr},
    {"postprocessing-pictureurl", nullptr, &OtherOptions::PictureUrl},
    {"dropoption-askaddtolist", &OtherOptions::AskAddToList, nullptr},
    {"dropoption-usee00dfs", &OtherOptions::UseE00Dfs, nullptr},
};

} // namespace vorbix
