#include "platform/Reservation.h"

#include "platform/RuntimeFolder.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorbix {

namespace {

// More than enough tries: each one fails only when a holder released the marker between
// this process's open and its lock.
constexpr int kAttempts = 100;

// What names a file for its marker: the device and inode of its folder after links are
// resolved, and its own name. The file itself may be replaced (a copy is renamed over it)
// while its folder stays. A folder that cannot be reached is named by the path as written.
std::string FileKey(const std::string& path)
{
    std::string file = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            file = resolved;
            std::free(resolved);
        }
    }
    const std::size_t slash = file.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    if (::stat(folder.c_str(), &st) != 0)
        return "path:" + file;
    return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + "/" + name;
}

std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::string NoteText(const ReservationNote& note)
{
    return "emulator=" + OneLine(note.Emulator) + "\nprogram=" + OneLine(note.Program)
        + "\nstarted=" + std::to_string(note.Started) + "\npid=" + std::to_string(note.Pid) + "\n";
}

ReservationNote ParseNote(const std::string& text)
{
    ReservationNote note;
    std::size_t start = 0;
    std::size_t end;
    // Only whole lines: a note read while its holder writes it ends part-way.
    while ((end = text.find('\n', start)) != std::string::npos) {
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "emulator")
            note.Emulator = value;
        else if (key == "program")
            note.Program = value;
        else if (key == "started")
            note.Started = std::strtoll(value.c_str(), nullptr, 10);
        else if (key == "pid")
            note.Pid = std::strtoll(value.c_str(), nullptr, 10);
    }
    return note;
}

// The holder writes its note just after it took the lock; a reader that comes in between
// finds it empty or part-written and looks again for a moment.
ReservationNote ReadNote(int fd)
{
    ReservationNote note;
    for (int attempt = 0; attempt < 50; ++attempt) {
        char buffer[4096];
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
        note = ParseNote(n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string());
        if (note.Complete())
            break;
        const timespec pause{0, 2'000'000};
        ::nanosleep(&pause, nullptr);
    }
    return note;
}

void WriteNote(int fd, const ReservationNote& note)
{
    const std::string text = NoteText(note);
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
    }
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::string ReservationNote::StartedAt() const
{
    const std::time_t time = static_cast<std::time_t>(Started);
    std::tm local{};
    char text[8] = "??:??";
    if (::localtime_r(&time, &local) != nullptr)
        std::strftime(text, sizeof text, "%H:%M", &local);
    return text;
}

Reservation::Reservation(Reservation&& other) noexcept
    : fd_(other.fd_), heldHere_(other.heldHere_), marker_(std::move(other.marker_)), holder_(std::move(other.holder_))
{
    other.fd_ = -1;
}

Reservation& Reservation::operator=(Reservation&& other) noexcept
{
    if (this != &other) {
        Release();
        fd_ = other.fd_;
        heldHere_ = other.heldHere_;
        marker_ = std::move(other.marker_);
        holder_ = std::move(other.holder_);
        other.fd_ = -1;
    }
    return *this;
}

Reservation::~Reservation()
{
    Release();
}

// The marker goes before the lock: a process that opened it in between finds, once it has
// the lock, that the file is no longer at the path, and starts again.
void Reservation::Release()
{
    if (fd_ < 0)
        return;
    ::unlink(marker_.c_str());
    ::close(fd_);
    fd_ = -1;
}

Result<Reservation> Reservation::Take(const std::string& path, ReservationNote note)
{
    note.Pid = ::getpid();
    const Result<std::string> folder = RuntimeFolder();
    if (!folder)
        return folder.Error();
    const std::string marker = folder.Value() + KeyName(FileKey(path)) + ".reserved";
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // Close-on-exec: the emulator started during the run must not inherit the lock and
        // hold it after this process is gone.
        const int fd = ::open(marker.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return Failure::CannotCreate(marker);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            Reservation busy;
            if (error == EWOULDBLOCK)
                busy.holder_ = ReadNote(fd);
            ::close(fd);
            if (error != EWOULDBLOCK)
                return Failure::CannotCreate(marker);
            busy.heldHere_ = busy.holder_.Pid == note.Pid;
            return busy;
        }
        struct stat opened {};
        struct stat current {};
        if (::fstat(fd, &opened) == 0 && ::lstat(marker.c_str(), &current) == 0 && SameFile(opened, current)) {
            WriteNote(fd, note);
            Reservation held;
            held.fd_ = fd;
            held.marker_ = marker;
            return held;
        }
        ::close(fd);
    }
    return Failure::CannotCreate(marker);
}

} // namespace vorbix
