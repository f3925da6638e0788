#include "platform/FileExistence.h"

#include "platform/FileSystem.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>

namespace vorbix {

FileExistenceCache::Folder& FileExistenceCache::FolderAt(const std::string& folder)
{
    auto [at, added] = folders_.try_emplace(folder);
    Folder& f = at->second;
    if (!added)
        return f;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        // A folder that is missing, or is no folder, holds nothing; one that cannot be
        // read (search permission without read permission) is asked name by name.
        f.listed = errno == ENOENT || errno == ENOTDIR;
        return f;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir))
        f.types.emplace(entry->d_name, entry->d_type);
    // A folder that may be read but not searched lists names that stat cannot reach.
    f.listed = errno == 0 && ::access(folder.empty() ? "." : folder.c_str(), X_OK) == 0;
    if (!f.listed)
        f.types.clear();
    ::closedir(dir);
    return f;
}

bool FileExistenceCache::FileExists(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // Paths the listing cannot answer exactly go to the system as they are: no name part,
    // ".", "..", a Windows path, or a byte the system would read as the end of the path.
    if (name.empty() || name == "." || name == ".." || path.find('\0') != std::string::npos
        || path.find('\\') != std::string::npos || path.find(':') != std::string::npos)
        return vorbix::FileExists(path);
    Folder& folder = FolderAt(slash == std::string::npos ? std::string() : path.substr(0, slash + 1));
    if (!folder.listed)
        return vorbix::FileExists(path);
    const auto found = folder.types.find(name);
    if (found == folder.types.end())
        return false;
    switch (found->second) {
    case DT_REG: return true;
    case DT_DIR: return false;
    case DT_LNK:
    case DT_UNKNOWN: return vorbix::FileExists(path);  // the link's target decides
    default: return true;  // a device, pipe or socket is no folder
    }
}

} // namespace vorbix
