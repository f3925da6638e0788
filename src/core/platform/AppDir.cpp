#include "platform/AppDir.h"

#include "platform/FileSystem.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vorbix {

namespace {

std::string WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

// An XDG base folder, ending in '/': the variable when it holds a full path, else the
// default below $HOME, else /tmp.
std::string XdgFolder(const char* variable, const char* belowHome)
{
    if (const char* xdg = std::getenv(variable); xdg != nullptr && *xdg == '/')
        return WithSlash(xdg);
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return WithSlash(WithSlash(home) + belowHome);
    return "/tmp/";
}

std::string Absolute(const std::string& dir)
{
    if (!dir.empty() && dir.front() == '/')
        return dir;
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer) == nullptr)
        return dir;
    return WithSlash(buffer) + dir;
}

} // namespace

std::string ExecutablePath()
{
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string ResolveAppDir(const std::string& commandLineDir, const std::string& executablePath)
{
    if (!commandLineDir.empty())
        return WithSlash(Absolute(commandLineDir));
    if (const char* env = std::getenv("VORBIX_APPDIR"); env != nullptr && *env != '\0')
        return WithSlash(Absolute(env));
    auto slash = executablePath.find_last_of('/');
    if (slash != std::string::npos) {
        std::string exeDir = executablePath.substr(0, slash + 1);
        if (DirectoryExists(exeDir + "Data"))
            return exeDir;
    }
    return XdgFolder("XDG_DATA_HOME", ".local/share") + "vorbix/";
}

std::string CacheWorkFolder()
{
    return XdgFolder("XDG_CACHE_HOME", ".cache") + "vorbix/work/";
}

std::string WindowSettingsFile()
{
    return XdgFolder("XDG_CONFIG_HOME", ".config") + "vorbix/vorbix.conf";
}

Status MakePrivateFolder(const std::string& folder)
{
    if (!ForceDirectories(folder) || ::chmod(folder.c_str(), 0700) != 0)
        return Failure{"Cannot create folder " + folder, folder};
    return {};
}

std::string NamedAppDirProblem(const std::string& commandLineDir, const std::string& resolvedAppDir)
{
    const char* env = std::getenv("VORBIX_APPDIR");
    const bool named = !commandLineDir.empty() || (env != nullptr && *env != '\0');
    if (!named || DirectoryExists(resolvedAppDir))
        return {};
    std::string shown = resolvedAppDir;
    while (shown.size() > 1 && shown.back() == '/')
        shown.pop_back();
    return "No such folder: " + shown;
}

std::vector<std::string> InstalledDataDirs(const std::string& executablePath, const std::string& configuredDir)
{
    std::vector<std::string> dirs;
    const auto slash = executablePath.find_last_of('/');
    if (slash != std::string::npos)
        dirs.push_back(executablePath.substr(0, slash + 1) + "../share/vorbix/");
    if (!configuredDir.empty() && configuredDir.front() == '/') {
        std::string configured = WithSlash(configuredDir);
        if (dirs.empty() || dirs.front() != configured)
            dirs.push_back(std::move(configured));
    }
    return dirs;
}

} // namespace vorbix
