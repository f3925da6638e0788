#include "platform/FolderListing.h"

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorbix {

namespace {

// Closes the listing whatever way the reading ends.
class OpenFolder {
public:
    explicit OpenFolder(const std::string& folder)
    {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            dir_ = ::fdopendir(fd);
            if (dir_ == nullptr)
                ::close(fd);
        }
    }
    ~OpenFolder()
    {
        if (dir_ != nullptr)
            ::closedir(dir_);
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    DIR* Dir() const { return dir_; }

private:
    DIR* dir_ = nullptr;
};

FolderEntry Describe(int dirFd, const dirent& item)
{
    const char* name = item.d_name;
    FolderEntry entry;
    entry.Name = name;
    // The listing says which entries are links, except on file systems that leave the type
    // unknown, where the entry itself is looked at.
    struct stat own {};
    if (item.d_type == DT_LNK)
        entry.IsLink = true;
    else if (item.d_type == DT_UNKNOWN && ::fstatat(dirFd, name, &own, AT_SYMLINK_NOFOLLOW) == 0)
        entry.IsLink = S_ISLNK(own.st_mode);
    struct stat st {};
    if (::fstatat(dirFd, name, &st, 0) != 0) {
        entry.Kind = EntryKind::Dangling;
        return entry;
    }
    entry.Identity = {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
    entry.Size = static_cast<std::uint64_t>(st.st_size);
    if (S_ISREG(st.st_mode))
        entry.Kind = EntryKind::File;
    else if (S_ISDIR(st.st_mode))
        entry.Kind = EntryKind::Folder;
    else
        entry.Kind = EntryKind::Special;
    return entry;
}

} // namespace

Result<std::vector<FolderEntry>> ListFolder(const std::string& folder)
{
    OpenFolder open(folder);
    if (open.Dir() == nullptr)
        return Failure{"Cannot open folder " + folder, folder};
    const int dirFd = ::dirfd(open.Dir());
    std::vector<FolderEntry> entries;
    while (const dirent* item = ::readdir(open.Dir())) {
        if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0)
            continue;
        entries.push_back(Describe(dirFd, *item));
    }
    std::sort(entries.begin(), entries.end(),
        [](const FolderEntry& a, const FolderEntry& b) { return a.Name < b.Name; });
    return entries;
}

} // namespace vorbix
