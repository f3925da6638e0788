#pragma once
// Finding the application folder once at start.

#include <string>

namespace vorbix {

// The application folder, ending in '/': the given folder (from --appdir) when not empty,
// else $VORBIX_APPDIR, else the executable's folder when it holds a "Data" folder (a
// portable install), else $XDG_DATA_HOME/vorbix/ (default ~/.local/share/vorbix/),
// created when missing.
std::string ResolveAppDir(const std::string& commandLineDir, const std::string& executablePath);

// The running executable's full path (from /proc/self/exe).
std::string ExecutablePath();

} // namespace vorbix
