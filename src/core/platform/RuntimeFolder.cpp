#include "platform/RuntimeFolder.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vorbix {

namespace {

Failure CannotUse(const std::string& folder, const std::string& reason)
{
    return {"Cannot use folder " + folder + ": " + reason, folder};
}

} // namespace

Result<std::string> RuntimeFolder()
{
    std::string folder;
    struct stat st {};
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode))
        folder = std::string(runtime) + "/vorbix";
    else
        folder = "/tmp/vorbix-" + std::to_string(::geteuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return CannotUse(folder, std::strerror(errno));
    // lstat: in a folder every user may write (/tmp), someone else could have put a link or
    // a folder of theirs at the name first; markers placed there would be theirs to change.
    if (::lstat(folder.c_str(), &st) != 0)
        return CannotUse(folder, std::strerror(errno));
    if (!S_ISDIR(st.st_mode))
        return CannotUse(folder, "not a folder");
    if (st.st_uid != ::geteuid())
        return CannotUse(folder, "it belongs to another user");
    if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        return CannotUse(folder, std::strerror(errno));
    return folder + "/";
}

std::string KeyName(std::string_view key)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : key) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    static const char kDigits[] = "0123456789abcdef";
    std::string name(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        name[static_cast<std::size_t>(i)] = kDigits[hash & 15];
    return name;
}

} // namespace vorbix
