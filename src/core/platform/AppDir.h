#pragma once
// Finding the application folder once at start.

#include <string>
#include <vector>

namespace vorbix {

// The application folder, ending in '/': the given folder (from --appdir) when not empty,
// else $VORBIX_APPDIR, else the executable's folder when it holds a "Data" folder (a
// portable install), else $XDG_DATA_HOME/vorbix/ (default ~/.local/share/vorbix/). Nothing
// is created: the first save makes the folder it writes into.
std::string ResolveAppDir(const std::string& commandLineDir, const std::string& executablePath);

// The folders, each ending in '/', that hold the installed read-only data (the help pages),
// searched in this order after the application folder: "../share/vorbix/" beside the
// executable's folder (so an installed tree moved elsewhere, or unpacked into a scratch
// root, finds its own files), then the folder the build was configured to install into.
std::vector<std::string> InstalledDataDirs(const std::string& executablePath, const std::string& configuredDir);

// The running executable's full path (from /proc/self/exe).
std::string ExecutablePath();

} // namespace vorbix
