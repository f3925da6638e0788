#pragma once
// The catalogue's files as a load and a save see them: their names in the application
// folder, the version written into them, and what a load may write.

#include <functional>
#include <string>

namespace vorbix {

inline constexpr const char* kProgramsFile = "Data/programs.xml";
inline constexpr const char* kOptionsFile = "Data/options.xml";
inline constexpr const char* kVorbixVersion = "2.3";
inline constexpr const char* kLegacyProgramsFile = "Programs.ini";
inline constexpr const char* kLegacyOptionsFile = "Options.ini";
inline constexpr const char* kLegacyEmusFile = "Emus.ini";
inline constexpr const char* kLegacyFiltersFile = "Filters.ini";

// Receives the splash's status line while programs are read ("Loading programs...",
// then "Loading programs: N" after each program).
using LoadProgress = std::function<void(const std::string& statusLine)>;

// What a load may write. A catalogue file that fails the check of its structure is
// damaged: what can be read is loaded, the user is told, and the file is owed a copy beside
// it (KeepCopyBeside, tag "damaged") before anything may replace it; so is a programs file
// that a legacy import is going to replace (tag "before-import").
enum class LoadAccess {
    // Writes nothing (the read-only commands of the terminal): owed copies stay in
    // Catalogue::PendingCopies, for the first save that would replace such a file.
    ReadOnly,
    // For a caller that may save (the window, a command that saves): owed copies are kept
    // at once, and the message names them.
    KeepCopies,
};

} // namespace vorbix
