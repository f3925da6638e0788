#include "platform/CatalogueLock.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>

namespace vorbix {

namespace {

std::string WithoutSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string Parent(const std::string& folder)
{
    const auto slash = folder.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : folder.substr(0, slash);
}

// The folder whose lock stands for the catalogue: Data, else the application folder, else
// the nearest folder above it that exists.
std::string LockFolder(const std::string& appDir)
{
    std::string data = appDir + "/Data";
    if (DirectoryExists(data))
        return data;
    std::string folder = appDir;
    while (folder != "/" && !DirectoryExists(folder))
        folder = Parent(folder);
    return folder;
}

enum class Outcome { Locked, Taken, Unsupported };

// A process that starts probes the application folder with a shared lock for a moment, so
// a lock found taken is tried again for a short while before it counts as held.
Outcome LockFd(int fd, int how)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::flock(fd, how | LOCK_NB) == 0)
            return Outcome::Locked;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return Outcome::Unsupported; // a file system without locks cannot be guarded
        ::usleep(2000);
    }
    return Outcome::Taken;
}

// /proc/locks names the process that took a lock: "1: FLOCK  ADVISORY  WRITE 4711 08:02:1234 0 EOF",
// the device's major and minor number in hexadecimal.
int ExclusiveHolder(const std::string& folder)
{
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return 0;
    std::ifstream locks("/proc/locks");
    std::string line;
    int sameInode = 0;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, advisory, access, where;
        long pid = 0;
        if (!(fields >> number >> kind) || kind == "->" || kind != "FLOCK")
            continue;
        if (!(fields >> advisory >> access >> pid >> where) || access != "WRITE" || pid <= 0)
            continue;
        unsigned int major = 0, minor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(where.c_str(), "%x:%x:%llu", &major, &minor, &inode) != 3 || inode != st.st_ino)
            continue;
        if (major == ::major(st.st_dev) && minor == ::minor(st.st_dev))
            return static_cast<int>(pid);
        // Some file systems show a device of their own in stat: the inode alone then.
        sameInode = static_cast<int>(pid);
    }
    return sameInode;
}

Failure TakenBy(const std::string& appDir, int pid)
{
    const std::string by = pid > 0 ? " (process " + std::to_string(pid) + ")" : std::string();
    return {"The catalogue in " + appDir + " is open in another Vorbix" + by + "; close it first.", appDir};
}

} // namespace

CatalogueLock::CatalogueLock(CatalogueLock&& other) noexcept
    : appDir_(std::move(other.appDir_)), held_(std::exchange(other.held_, {}))
{}

CatalogueLock& CatalogueLock::operator=(CatalogueLock&& other) noexcept
{
    if (this != &other) {
        Release();
        appDir_ = std::move(other.appDir_);
        held_ = std::exchange(other.held_, {});
    }
    return *this;
}

CatalogueLock::~CatalogueLock()
{
    Release();
}

void CatalogueLock::Release()
{
    for (const Held& held : held_)
        ::close(held.Fd); // closing the last descriptor releases the lock
    held_.clear();
}

Result<CatalogueLock> CatalogueLock::Acquire(const std::string& appDir)
{
    CatalogueLock lock;
    lock.appDir_ = WithoutSlash(appDir);
    for (int attempt = 0; attempt < 20; ++attempt) {
        const std::string folder = LockFolder(lock.appDir_);
        // O_CLOEXEC: an emulator started from this process must not keep the lock after it.
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            continue; // removed meanwhile: look again
        const Outcome outcome = LockFd(fd, LOCK_EX);
        if (outcome == Outcome::Taken) {
            ::close(fd);
            return TakenBy(lock.appDir_, ExclusiveHolder(folder));
        }
        if (outcome == Outcome::Unsupported) {
            ::close(fd);
            return lock;
        }
        // A nearer folder made meanwhile is the one the next process locks.
        if (LockFolder(lock.appDir_) != folder) {
            ::close(fd);
            continue;
        }
        lock.held_.push_back({folder, fd});
        if (folder != lock.appDir_ + "/Data")
            return lock;
        // A process that started before Data was made holds the application folder until it
        // has locked Data as well.
        const int probe = ::open(lock.appDir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (probe >= 0) {
            const Outcome probed = LockFd(probe, LOCK_SH);
            ::close(probe);
            if (probed == Outcome::Taken)
                return TakenBy(lock.appDir_, ExclusiveHolder(lock.appDir_));
        }
        return lock;
    }
    return TakenBy(lock.appDir_, 0);
}

Status CatalogueLock::HoldData()
{
    const std::string data = appDir_ + "/Data";
    const auto holds = [this](const std::string& folder) {
        for (const Held& held : held_)
            if (held.Folder == folder)
                return true;
        return false;
    };
    if (appDir_.empty() || holds(data))
        return {};
    for (const std::string& folder : {appDir_, data}) {
        if (holds(folder))
            continue;
        if (!ForceDirectories(folder))
            return {};
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return {};
        const Outcome outcome = LockFd(fd, LOCK_EX);
        if (outcome != Outcome::Locked) {
            ::close(fd);
            if (outcome == Outcome::Taken)
                return TakenBy(appDir_, ExclusiveHolder(folder));
            return {};
        }
        held_.push_back({folder, fd});
    }
    // The folder above, held while the application folder did not exist, would only stand in
    // the way of other catalogues below it.
    for (auto it = held_.begin(); it != held_.end();) {
        if (it->Folder != appDir_ && it->Folder != data) {
            ::close(it->Fd);
            it = held_.erase(it);
        } else {
            ++it;
        }
    }
    return {};
}

int CatalogueLock::HolderOf(const std::string& appDir)
{
    const std::string folder = WithoutSlash(appDir);
    if (const int pid = ExclusiveHolder(LockFolder(folder)))
        return pid;
    return DirectoryExists(folder + "/Data") ? ExclusiveHolder(folder) : 0;
}

} // namespace vorbix
