#include "platform/InodeScan.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace vorbix {

namespace {

// Whether the listing's inode numbers are those stat gives. FAT and exFAT make numbers up
// for entries not in memory, and overlayfs gives the lower layer's for some folders; there,
// and on any file system not known here, each path is asked instead.
bool ListsTrueInodes(int fd)
{
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53: // ext2, ext3, ext4
    case 0xF2F52010: // F2FS
    case 0x58465342: // XFS
    case 0x9123683E: // Btrfs
    case 0x01021994: // tmpfs
    case 0x2FC12FC1: // ZFS
        return true;
    default: return false;
    }
}

bool IsOneOf(dev_t device, ino_t inode, const std::vector<DeviceInode>& files)
{
    const DeviceInode identity{static_cast<unsigned long long>(device), static_cast<unsigned long long>(inode)};
    return std::find(files.begin(), files.end(), identity) != files.end();
}

} // namespace

bool FolderMayHold(const std::string& folder, const std::vector<DeviceInode>& files)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return errno != ENOENT && errno != ENOTDIR;
    const int fd = ::dirfd(dir);
    struct stat own {};
    if (::fstat(fd, &own) != 0 || !ListsTrueInodes(fd)) {
        ::closedir(dir);
        return true;
    }
    bool may = false;
    errno = 0;
    while (!may) {
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            may = errno != 0; // a listing cut short proves nothing
            break;
        }
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            may = ::fstatat(fd, entry->d_name, &st, 0) == 0 && IsOneOf(st.st_dev, st.st_ino, files);
        } else {
            may = IsOneOf(own.st_dev, entry->d_ino, files);
        }
        errno = 0;
    }
    ::closedir(dir);
    return may;
}

} // namespace vorbix
