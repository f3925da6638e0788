#pragma once
// The whole catalogue held in memory for a run: programs, emulators, filters,
// categories, remembered folders and selections, and the general options.

#include "catalogue/NameList.h"
#include "catalogue/Records.h"
#include "platform/FileIdentity.h"

#include <string>
#include <vector>

namespace vorbix {

// The seven general options (the options dialog's controls show and edit them).
struct OtherOptions {
    bool CompatibilityWarning = false;
    bool E00DfsWarning = false;
    bool CopyDiskBack = false;
    bool CopyPicture = false;
    std::string PictureUrl;
    bool AskAddToList = false;
    bool UseE00Dfs = false;

    bool operator==(const OtherOptions&) const = default;
};

// Why a catalogue file must be copied aside before a save may replace it.
enum class KeepReason {
    Damaged, // the file failed the check of its structure: part of it was not loaded
    LegacyImport, // the programs file that was there when the legacy files were imported
};

// A catalogue file whose copy beside it is still owed. The load keeps the copy at once when
// its caller may write; otherwise, or when that copy failed, the entry stays, and the save
// that would replace the file keeps the copy first, or is refused while it cannot.
struct PendingCopy {
    std::string Path;
    KeepReason Reason = KeepReason::Damaged;
};

// A catalogue file as this process last read or wrote it, so that a save can tell whether
// something else has written it since. Not tracked for a catalogue that was not loaded to
// be saved again.
struct SeenFile {
    bool Tracked = false;
    // Written by something else while it was being read: what was loaded is not known to be
    // what the file holds.
    bool ChangedWhileRead = false;
    FileIdentity Identity;
};

struct Catalogue {
    // The application folder, ending in a separator; files beside the application are
    // AppDir + a relative name written with '/'.
    std::string AppDir;
    // Read-only folders of installed data (the help pages), each ending in '/', searched
    // after AppDir; empty when nothing is installed.
    std::vector<std::string> InstalledDataDirs;

    std::vector<ProgramRecord> ProgramList;
    std::vector<EmuRecord> EmuList;
    std::vector<FilterRecord> FilterList;
    NameList Publishers;
    NameList ProgramTypes;

    std::string LastProgramDir;
    std::string LastEmuDir;
    std::string LastDocDir;
    std::string LastFilter = "all";
    std::string LastEmu;

    bool ProgramsChanged = false;
    bool DfsRomsPresent = false;

    OtherOptions Options;

    std::vector<PendingCopy> PendingCopies;

    SeenFile ProgramsFileSeen;
    SeenFile OptionsFileSeen;

    // Resets the remembered folders and selections and the options to their defaults
    // (as before any file is read); the record lists and categories are kept.
    void ResetRememberedAndOptions();

    std::string AppFile(const std::string& relativeName) const { return AppDir + relativeName; }
};

} // namespace vorbix
