#pragma once
// Finding the application folder once at start.

#include "host/Result.h"

#include <string>
#include <vector>

namespace vorbix {

// The application folder, ending in '/': the given folder (from --appdir) when not empty,
// else $VORBIX_APPDIR, else the executable's folder when it holds a "Data" folder (a
// portable install), else $XDG_DATA_HOME/vorbix/ (default ~/.local/share/vorbix/). Nothing
// is created: the first save makes the folder it writes into.
std::string ResolveAppDir(const std::string& commandLineDir, const std::string& executablePath);

// A folder the user named (with --appdir, or in VORBIX_APPDIR) must exist: a mistyped name
// would otherwise show an empty catalogue and create the folder at the first save. Returns
// "No such folder: DIR" for a named folder that does not exist, else an empty text.
std::string NamedAppDirProblem(const std::string& commandLineDir, const std::string& resolvedAppDir);

// The folders, each ending in '/', that hold the installed read-only data (the help pages),
// searched in this order after the application folder: "../share/vorbix/" beside the
// executable's folder (so an installed tree moved elsewhere, or unpacked into a scratch
// root, finds its own files), then the folder the build was configured to install into.
std::vector<std::string> InstalledDataDirs(const std::string& executablePath, const std::string& configuredDir);

// The folder, ending in '/', where a launch places disk images for an emulator whose disk
// working folder is empty: $XDG_CACHE_HOME/vorbix/work/ (default ~/.cache/vorbix/work/).
// Nothing is created here.
std::string CacheWorkFolder();

// The file of the user's own settings for the windows (the main window's size, place and
// split), never part of the catalogue: $XDG_CONFIG_HOME/vorbix/vorbix.conf (default
// ~/.config/vorbix/vorbix.conf). Nothing is created here.
std::string WindowSettingsFile();

// Creates the folder (and missing parents) when needed and makes it the user's alone
// (mode 0700); "Cannot create folder PATH" when it cannot be made.
Status MakePrivateFolder(const std::string& folder);

// The running executable's full path (from /proc/self/exe).
std::string ExecutablePath();

} // namespace vorbix
