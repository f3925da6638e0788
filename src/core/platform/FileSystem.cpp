#include "platform/FileSystem.h"

#include "host/Errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorbix {

namespace {

std::function<void(const std::string&)>& AtomicWriteHook()
{
    static std::function<void(const std::string&)> hook;
    return hook;
}

std::string ParentFolder(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, const char* data, std::size_t size)
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

} // namespace

bool FileExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool DirectoryExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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

std::string ReadFileBytes(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError::Open(path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw FileError::Open(path);
    }
    std::string bytes;
    if (st.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            throw FileError::Open(path);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
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

std::vector<std::string> ReadFileLines(const std::string& path)
{
    return SplitLines(ReadFileBytes(path));
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

void WriteFileAtomic(const std::string& path, const std::string& bytes)
{
    if (path.empty() || DirectoryExists(path))
        throw FileError::Create(path);
    const std::string folder = ParentFolder(path);
    if (!DirectoryExists(folder) || IsReadOnly(folder))
        throw FileError::Create(path);
    struct stat old {};
    const bool hadOld = ::stat(path.c_str(), &old) == 0;
    if (hadOld && IsReadOnly(path))
        throw FileError::Create(path);

    std::string temp = path + ".vbxtmp-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw FileError::Create(path);
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    // Keep the old file's permissions; a new file gets the usual ones.
    mode_t mode = hadOld ? (old.st_mode & 07777) : static_cast<mode_t>(0666 & ~[] {
        mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }());
    ok = ::fchmod(fd, mode) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok && AtomicWriteHook()) {
        AtomicWriteHook()(temp); // may throw: the temporary file is then left as after a crash
    }
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw FileError::Create(path);
    }
    // Make the rename itself durable.
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

void SetAtomicWriteHookForTesting(std::function<void(const std::string&)> hook)
{
    AtomicWriteHook() = std::move(hook);
}

} // namespace vorbix
