#include "platform/FileIdentity.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace vorbix {

namespace {

FileIdentity FromStat(const struct stat& st)
{
    FileIdentity identity;
    identity.Exists = true;
    identity.Device = static_cast<std::uint64_t>(st.st_dev);
    identity.Inode = static_cast<std::uint64_t>(st.st_ino);
    identity.Size = static_cast<std::uint64_t>(st.st_size);
    identity.ModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return identity;
}

std::uint32_t Crc(std::uint32_t crc, const char* data, std::size_t size)
{
    // zlib takes at most an unsigned int at a time.
    while (size > 0) {
        const auto piece = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
        crc = static_cast<std::uint32_t>(::crc32(crc, reinterpret_cast<const Bytef*>(data), piece));
        data += piece;
        size -= piece;
    }
    return crc;
}

bool SameStat(const FileIdentity& a, const FileIdentity& b)
{
    return a.Exists == b.Exists && a.Device == b.Device && a.Inode == b.Inode && a.Size == b.Size
        && a.ModifiedNs == b.ModifiedNs;
}

} // namespace

Result<FileIdentity> IdentifyFile(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? FileIdentity{} : Result<FileIdentity>(Failure::CannotOpen(path));
    // O_NONBLOCK: a FIFO at the path must not hold the caller until someone writes to it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        return Failure::CannotOpen(path);
    }
    FileIdentity identity = FromStat(st);
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return identity;
    }
    std::vector<char> buffer(1 << 20);
    std::uint32_t crc = Crc(0, nullptr, 0);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return Failure::CannotOpen(path);
        }
        if (n == 0)
            break;
        crc = Crc(crc, buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    identity.Checksum = crc;
    return identity;
}

FileIdentity StatFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? FromStat(st) : FileIdentity{};
}

Result<FileIdentity> IdentifyWrittenFile(const std::string& path, const std::string& bytes)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return Failure::CannotOpen(path);
    FileIdentity identity = FromStat(st);
    identity.Checksum = Crc(Crc(0, nullptr, 0), bytes.data(), bytes.size());
    return identity;
}

bool ChangedSince(const FileIdentity& known, const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno != ENOENT && errno != ENOTDIR;
    if (!known.Exists)
        return true;
    if (SameStat(known, FromStat(st)))
        return false;
    if (static_cast<std::uint64_t>(st.st_size) != known.Size)
        return true;
    const Result<FileIdentity> now = IdentifyFile(path);
    return !now || !now.Value().Exists || now.Value().Size != known.Size || now.Value().Checksum != known.Checksum;
}

} // namespace vorbix
