#include "platform/FileExistence.h"

#include "platform/FileSystem.h"

#include <dirent.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>

namespace vorbix {

namespace {

// Whether a name absent from the folder's listing is absent for the system too: true on
// the file systems whose names are exact bytes. FAT, exFAT, NTFS and network shares find
// "ELITE.JPG" for "elite.jpg" (and FAT its short names), and so does an ext4 or F2FS
// folder made case-insensitive; there, and on any file system not known here, each name
// is asked of the system.
bool NamesAreExact(int fd)
{
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53: // ext2, ext3, ext4
    case 0xF2F52010: // F2FS
    {
        long flags = 0;
        constexpr long kCaseFold = 0x40000000; // FS_CASEFOLD_FL
        return ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & kCaseFold) == 0;
    }
    case 0x58465342: // XFS
    case 0x9123683E: // Btrfs
    case 0x01021994: // tmpfs
    case 0x2FC12FC1: // ZFS
    case 0x794C7630: // overlayfs (containers)
        return true;
    default: return false;
    }
}

// Where the last name of a folder (written with a final '/') starts, so that the text
// before it is its parent; npos for a folder with no name of its own to look up in a
// parent: the root, the working folder, and names such as "", "." and "..".
std::size_t ParentEnd(std::string_view folder)
{
    if (folder.size() < 2 || folder.back() != '/')
        return std::string_view::npos;
    const std::size_t slash = folder.rfind('/', folder.size() - 2);
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    const std::string_view name = folder.substr(start, folder.size() - 1 - start);
    if (name.empty() || name == "." || name == "..")
        return std::string_view::npos;
    return start;
}

} // namespace

// Whether the listed folder may have a folder of this name: one listed as a folder, or as
// a link or an unknown type, which only the system can tell.
bool FileExistenceCache::MayBeFolder(const Folder& parent, std::string_view name)
{
    const auto found = parent.types.find(name);
    return found != parent.types.end()
        && (found->second == DT_DIR || found->second == DT_LNK || found->second == DT_UNKNOWN);
}

FileExistenceCache::Folder& FileExistenceCache::FolderAt(std::string_view folderPart)
{
    if (last_ != nullptr && folderPart == lastFolder_)
        return *last_;
    if (auto known = folders_.find(folderPart); known != folders_.end()) {
        lastFolder_ = folderPart;
        last_ = &known->second;
        return known->second;
    }
    const std::string folder(folderPart);
    // A folder that its parent's listing does not have holds nothing, and is not asked
    // for: all the folders of a missing drive or tree cost one look at its top.
    const std::size_t cut = ParentEnd(folderPart);
    if (cut != std::string_view::npos) {
        const std::string_view name = folderPart.substr(cut, folderPart.size() - 1 - cut);
        if (const auto parent = folders_.find(folderPart.substr(0, cut));
            parent != folders_.end() && parent->second.listed && !MayBeFolder(parent->second, name)) {
            Folder& f = folders_[folder];
            f.listed = true;
            lastFolder_ = folder;
            last_ = &f;
            return f;
        }
    }
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        // A folder that is missing, or is no folder, holds nothing; one that cannot be
        // read (search permission without read permission) is asked name by name.
        const int error = errno;
        // A missing folder's parent is read (once), so that the folders beside it are
        // known to be missing without asking when the parent does not have them either.
        if (error == ENOENT && cut != std::string_view::npos)
            (void)FolderAt(folder.substr(0, cut));
        Folder& f = folders_[folder];
        f.listed = error == ENOENT || error == ENOTDIR;
        lastFolder_ = folder;
        last_ = &f;
        return f;
    }
    Folder& f = folders_[folder];
    lastFolder_ = folder;
    last_ = &f;
    if (!NamesAreExact(::dirfd(dir))) {
        ::closedir(dir);
        return f; // asked name by name
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
    const std::string_view name =
        slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
    // Paths the listing cannot answer exactly go to the system as they are: no name part,
    // ".", "..", a Windows path, or a byte the system would read as the end of the path.
    if (name.empty() || name == "." || name == ".." || path.find('\0') != std::string::npos
        || path.find('\\') != std::string::npos || path.find(':') != std::string::npos)
        return vorbix::FileExists(path);
    Folder& folder =
        FolderAt(slash == std::string::npos ? std::string_view() : std::string_view(path).substr(0, slash + 1));
    if (!folder.listed)
        return vorbix::FileExists(path);
    const auto found = folder.types.find(name);
    if (found == folder.types.end())
        return false;
    switch (found->second) {
    case DT_REG: return true;
    case DT_DIR: return false;
    case DT_LNK:
    case DT_UNKNOWN: return vorbix::FileExists(path); // the link's target decides
    default: return true; // a device, pipe or socket is no folder
    }
}

} // namespace vorbix
