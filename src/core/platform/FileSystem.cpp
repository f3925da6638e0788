#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorbix {

namespace {

std::string ParentFolder(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// A path written on Windows (C:\Games\Elite.ssd, \\server\share, Games\Elite.ssd) names no
// file here; looked up as it stands it would be a relative name in whatever folder the
// program runs in, which is never the file meant.
bool IsWindowsPath(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return false;
    return HasDriveDesignator(path) || path.find('\\') != std::string::npos;
}

bool Stat(const std::string& path, struct stat& st)
{
    return !path.empty() && !IsWindowsPath(path) && ::stat(path.c_str(), &st) == 0;
}

} // namespace

bool HasDriveDesignator(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':'
        && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return Stat(path, st) && !S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return Stat(path, st) && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& path)
{
    // lstat: a symbolic link that cannot be followed is still something at the path, so a
    // dangling catalogue link reads as a file that cannot be opened, never as no file.
    struct stat st {};
    return !path.empty() && !IsWindowsPath(path) && ::lstat(path.c_str(), &st) == 0;
}

bool IsFullPath(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

bool DirectoryExists(const std::string& path)
{
    struct stat st {};
    return Stat(path, st) && S_ISDIR(st.st_mode);
}

bool DeleteFileAt(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool ForceDirectories(const std::string& path)
{
    if (path.empty())
        return false;
    if (DirectoryExists(path))
        return true;
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    std::string parent = ParentFolder(trimmed);
    if (parent != trimmed && !DirectoryExists(parent) && !ForceDirectories(parent))
        return false;
    return ::mkdir(trimmed.c_str(), 0777) == 0 || DirectoryExists(trimmed);
}

bool IsReadOnly(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return (st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0;
}

std::optional<DeviceInode> IdentityOf(const std::string& path)
{
    struct stat st {};
    if (!Stat(path, st))
        return std::nullopt;
    return DeviceInode{static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
}

bool LiesInFolder(const std::string& path, const DeviceInode& folder)
{
    if (path.empty() || IsWindowsPath(path))
        return false;
    // The file's own link is followed too: a link to a file in the folder is in the folder.
    char* resolved = ::realpath(path.c_str(), nullptr);
    std::string start = resolved != nullptr ? ParentFolder(resolved) : ParentFolder(path);
    std::free(resolved);
    resolved = ::realpath(start.c_str(), nullptr);
    if (resolved == nullptr)
        return false;
    std::string current(resolved);
    std::free(resolved);
    for (;;) {
        if (IdentityOf(current) == folder)
            return true;
        if (current == "/")
            return false;
        current = ParentFolder(current);
    }
}

MoveOutcome MoveToFreeName(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return MoveOutcome::Moved;
    if (errno == EEXIST)
        return MoveOutcome::NameTaken;
    if (errno != EINVAL && errno != ENOSYS)
        return MoveOutcome::Failed;
    // The file system cannot be asked not to replace: a second name for the file, which
    // link refuses to put over anything, and then the old name goes.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return MoveOutcome::Moved;
    }
    if (errno == EEXIST)
        return MoveOutcome::NameTaken;
    if (errno != EPERM && errno != EOPNOTSUPP)
        return MoveOutcome::Failed;
    // No hard links either (FAT): the name is taken by creating it, and the move then
    // replaces only that new empty file.
    const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? MoveOutcome::NameTaken : MoveOutcome::Failed;
    ::close(fd);
    if (::rename(from.c_str(), to.c_str()) == 0)
        return MoveOutcome::Moved;
    const int error = errno;
    ::unlink(to.c_str());
    errno = error;
    return MoveOutcome::Failed;
}

namespace {

// Opens a file for reading, with its status; "Cannot open file " + path for a Windows
// path, a file that cannot be opened, or a folder. Only a regular file is read: a FIFO would
// hold the reader until someone writes to it, and a device such as /dev/zero never ends, so
// anything else is "Cannot open file PATH: not a regular file". O_NONBLOCK lets the open of
// a FIFO return at once, so that it can be looked at.
Result<int> OpenForReading(const std::string& path, struct stat& st)
{
    if (IsWindowsPath(path))
        return Failure::CannotOpen(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Failure::CannotOpen(path);
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return Failure::CannotOpen(path);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failure{"Cannot open file " + path + ": not a regular file", path};
    }
    return fd;
}

// A read that an interrupting signal does not end: the bytes read, 0 at the end, -1 on an error.
ssize_t ReadSome(int fd, char* to, std::size_t room)
{
    for (;;) {
        const ssize_t n = ::read(fd, to, room);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

} // namespace

Result<std::string> ReadFileBytes(const std::string& path)
{
    struct stat st {};
    const Result<int> opened = OpenForReading(path, st);
    if (!opened)
        return opened.Error();
    const int fd = opened.Value();
    std::string bytes;
    if (st.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ReadSome(fd, buffer, sizeof buffer);
        if (n < 0) {
            ::close(fd);
            return Failure::CannotOpen(path);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

FileStream::FileStream(FileStream&& other) noexcept : fd_(other.fd_), openedSize_(other.openedSize_)
{
    other.fd_ = -1;
    other.openedSize_ = 0;
}

FileStream& FileStream::operator=(FileStream&& other) noexcept
{
    if (this != &other) {
        FileStream gone(std::move(*this));
        fd_ = other.fd_;
        openedSize_ = other.openedSize_;
        other.fd_ = -1;
        other.openedSize_ = 0;
    }
    return *this;
}

FileStream::~FileStream()
{
    if (fd_ >= 0)
        ::close(fd_);
}

Result<FileStream> FileStream::Open(const std::string& path)
{
    struct stat st {};
    const Result<int> opened = OpenForReading(path, st);
    if (!opened)
        return opened.Error();
    FileStream stream;
    stream.fd_ = opened.Value();
    stream.openedSize_ = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    ::posix_fadvise(stream.fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return stream;
}

long long FileStream::ReadSome(char* to, std::size_t room)
{
    if (fd_ < 0)
        return -1;
    return static_cast<long long>(vorbix::ReadSome(fd_, to, room));
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text, start, i - start);
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.emplace_back(text, start, n - start);
    return lines;
}

Result<std::vector<std::string>> ReadFileLines(const std::string& path)
{
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return bytes.Error();
    return SplitLines(bytes.Value());
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines)
{
    std::size_t total = 0;
    for (const auto& line : lines)
        total += line.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

bool FileWriter::WriteBytes(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

Result<std::string> FileWriter::ResolveTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    // A link is written through to the file it names, so the link itself stays. One that
    // cannot be followed (dangling, looping) is an error and nothing replaces it.
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return Failure::CannotOpen(path);
    std::string target(resolved);
    std::free(resolved);
    return target;
}

Status FileWriter::WriteInPlace(const std::string& path, const std::string& bytes, const Failure& failed)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return failed;
    // Reserve the space first, so that a full disk is found before a byte is overwritten.
    // File systems without fallocate simply skip the check.
    if (!bytes.empty() && ::fallocate(fd, 0, 0, static_cast<off_t>(bytes.size())) != 0 && errno != EOPNOTSUPP
        && errno != ENOSYS) {
        ::close(fd);
        return failed;
    }
    bool ok = WriteBytes(fd, bytes.data(), bytes.size()) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0
        && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok ? Status{} : Status{failed};
}

namespace {

// The temporary file of a write is the target's name, this mark and six letters.
constexpr const char* kTemporaryMark = ".vbxtmp-";
// A temporary file is locked a moment after it is made; one younger than this may be that
// moment, whatever its lock says.
constexpr time_t kLeftoverAge = 5;

// Removes the temporary files that writes of path left behind when their process was killed
// (older than kLeftoverAge and locked by no one); every write does this first, so a
// leftover lasts only until the next write of the same file.
void RemoveLeftoverTemporaries(const std::string& path)
{
    const std::string folder = ParentFolder(path);
    const std::string prefix = path.substr(folder == "/" ? 1 : folder.size() + 1) + kTemporaryMark;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string leftover = folder;
        leftover.append("/").append(name);
        const int fd = ::open(leftover.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        if (fd < 0)
            continue;
        struct stat st {};
        // Unlinked while its lock is held: a writer that starts now cannot take it over.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime >= kLeftoverAge
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(leftover.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

Status FileWriter::WriteFile(const std::string& requestedPath, const std::string& bytes)
{
    const Failure failed = Failure::CannotCreate(requestedPath);
    if (requestedPath.empty() || DirectoryExists(requestedPath))
        return failed;
    Result<std::string> resolved = ResolveTarget(requestedPath);
    if (!resolved)
        return resolved.Error();
    const std::string& path = resolved.Value();
    const std::string folder = ParentFolder(path);
    if (!DirectoryExists(folder))
        return failed;
    struct stat old {};
    const bool hadOld = ::stat(path.c_str(), &old) == 0;
    if (hadOld && IsReadOnly(path))
        return failed;

    // When the folder refuses a new file (a share, a folder under /usr) but the file itself
    // is writable, the file is written in place, as QSaveFile's direct-write fallback does.
    // That loses the atomic rename, so it is the fallback only. A folder whose owner-write
    // permission is off refuses, as a read-only file does, even for root.
    std::string temp = path + kTemporaryMark + "XXXXXX";
    if (IsReadOnly(folder))
        return hadOld ? WriteInPlace(path, bytes, failed) : Status{failed};
    RemoveLeftoverTemporaries(path);
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return hadOld && (errno == EACCES || errno == EPERM) ? WriteInPlace(path, bytes, failed) : Status{failed};
    // Locked while it is ours, so that a later write can tell a leftover of a writer that
    // was killed (its lock released with it) from a file being written now.
    ::flock(fd, LOCK_EX | LOCK_NB);
    bool ok = WriteBytes(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    // Keep the old file's permissions; a new file gets the usual ones.
    ok = ::fchmod(fd, hadOld ? (old.st_mode & 07777) : NewFileMode()) == 0 && ok;
    if (ok)
        BeforeRename(temp);
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    if (::close(fd) != 0 || !ok)
        return failed;
    // Make the rename itself durable.
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return {};
}

FileWriter& SystemFileWriter()
{
    static FileWriter writer;
    return writer;
}

Status WriteFileAtomic(const std::string& path, const std::string& bytes)
{
    return SystemFileWriter().WriteFile(path, bytes);
}

} // namespace vorbix
