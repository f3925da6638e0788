#include "platform/Process.h"

#include "platform/FileSystem.h"

#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace vorbix {

namespace {

// Shell-style result codes: 0 out of resources, 2 file not found, 3 path not found,
// 5 access denied; anything above 32 is success.
constexpr int kSuccess = 42;
constexpr int kOutOfResources = 0;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;

constexpr const char* kOpener = "xdg-open";

int CodeForErrno(int err)
{
    switch (err) {
    case ENOENT: return kFileNotFound;
    case ENOTDIR: return kPathNotFound;
    case EACCES:
    case EPERM: return kAccessDenied;
    default: return kOutOfResources;
    }
}

// Why an exec with this errno failed, as a user reads it.
std::string ReasonForErrno(int err)
{
    switch (err) {
    case EACCES:
    case EPERM: return "the file is not executable";
    case ENOEXEC: return "the file is not a program this system can run";
    default: return std::strerror(err);
    }
}

// The value of a variable in a NAME=value list; unset gives nullptr.
const char* ValueIn(const std::vector<std::string>& environment, const std::string& name)
{
    for (const std::string& entry : environment)
        if (entry.size() > name.size() && entry[name.size()] == '=' && entry.compare(0, name.size(), name) == 0)
            return entry.c_str() + name.size() + 1;
    return nullptr;
}

// The full path of a program on the search path, as execvp would find it; empty when
// there is none. An empty PATH entry is the current folder; without PATH the search is
// that of the C library.
std::string FindOnPath(const std::string& name, const char* searchPath)
{
    const std::string path = searchPath != nullptr ? searchPath : "/bin:/usr/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        std::string folder = path.substr(start, end - start);
        std::string candidate = folder.empty() ? std::string(".") : std::move(folder);
        candidate += '/';
        candidate += name;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// A fork that runs no fork handlers: the child calls only async-signal-safe functions.
pid_t ForkProcess()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    return ::_Fork();
#else
    return ::fork();
#endif
}

void ReportErrno(int fd, int err)
{
    [[maybe_unused]] ssize_t written = ::write(fd, &err, sizeof err);
}

// Runs in the child that becomes the program; every call here is async-signal-safe and
// allocates nothing. Signal handlers of this process would be wrong in the child, so
// they go back to the default before the signals blocked around the fork are let in.
[[noreturn]] void RunChild(const char* file, char* const* argv, char* const* envp, const char* workingDir,
    bool attached, int errorFd, int errorOutput, const sigset_t& mask)
{
    for (int sig = 1; sig < NSIG; ++sig) {
        struct sigaction current {};
        if (::sigaction(sig, nullptr, &current) == 0 && current.sa_handler != SIG_DFL
            && current.sa_handler != SIG_IGN) {
            struct sigaction fallback {};
            fallback.sa_handler = SIG_DFL;
            ::sigaction(sig, &fallback, nullptr);
        }
    }
    ::setsid();
    if (!attached) {
        // Double fork: the grandchild is adopted by init, which reaps it.
        const pid_t grandchild = ForkProcess();
        if (grandchild < 0) {
            ReportErrno(errorFd, errno);
            ::_exit(127);
        }
        if (grandchild > 0)
            ::_exit(0);
    }
    if (workingDir != nullptr && ::chdir(workingDir) != 0) {
        ReportErrno(errorFd, errno);
        ::_exit(127);
    }
    if (errorOutput >= 0) {
        if (::dup2(errorOutput, STDERR_FILENO) < 0) {
            ReportErrno(errorFd, errno);
            ::_exit(127);
        }
        // Once the front end has closed (the window, before its emulator), a write to the
        // error output fails instead of ending the emulator with SIGPIPE.
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, nullptr);
    }
    ::sigprocmask(SIG_SETMASK, &mask, nullptr);
    ::execve(file, argv, envp);
    ReportErrno(errorFd, errno);
    ::_exit(127);
}

void Reap(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
}

// Starts the program at file (a full path) with argv and the environment; returns the
// shell-style code and, when attached, the pid. A failed exec reaches the parent through
// a close-on-exec pipe: it closes without a word when the exec succeeds. errorOutput, when
// not -1, becomes the program's error output.
StartResult Spawn(const std::string& file, std::vector<std::string> argv, std::vector<std::string> environment,
    const std::string& workingDir, bool attached, int errorOutput = -1)
{
    const std::vector<char*> args = Pointers(argv);
    const std::vector<char*> envp = Pointers(environment);
    const char* folder = workingDir.empty() ? nullptr : workingDir.c_str();

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {kOutOfResources, -1};
    sigset_t all;
    sigset_t previous;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t child = ForkProcess();
    if (child == 0) {
        ::close(pipeFds[0]);
        RunChild(file.c_str(), args.data(), envp.data(), folder, attached, pipeFds[1], errorOutput, previous);
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(pipeFds[1]);
    if (child < 0) {
        ::close(pipeFds[0]);
        return {kOutOfResources, -1};
    }

    int err = 0;
    ssize_t n;
    do {
        n = ::read(pipeFds[0], &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    ::close(pipeFds[0]);

    const bool failed = n == static_cast<ssize_t>(sizeof err);
    // A detached start has left only the intermediate child, which ends at once; a failed
    // attached start leaves the child itself.
    if (!attached || failed)
        Reap(child);
    if (failed)
        return {CodeForErrno(err), -1, ReasonForErrno(err)};
    return {kSuccess, attached ? static_cast<int>(child) : -1, {}};
}

StartResult SpawnOpener(const std::string& target, const std::string& workingDir, const EnvironmentVariables& variables,
    bool attached)
{
    std::vector<std::string> environment = ChildEnvironment(variables);
    const std::string opener = FindOnPath(kOpener, ValueIn(environment, "PATH"));
    if (opener.empty())
        return {kFileNotFound, -1, std::string("there is no ") + kOpener};
    return Spawn(opener, {kOpener, target}, std::move(environment), workingDir, attached);
}

} // namespace

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0111) != 0
        && ::access(path.c_str(), X_OK) == 0;
}

std::vector<std::string> ChildEnvironment(const EnvironmentVariables& variables)
{
    std::vector<std::string> environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const char* text = *entry;
        const char* eq = std::strchr(text, '=');
        const std::size_t nameLength = eq != nullptr ? static_cast<std::size_t>(eq - text) : std::strlen(text);
        bool replaced = false;
        for (const auto& [name, value] : variables)
            replaced = replaced || name.compare(0, std::string::npos, text, nameLength) == 0;
        if (!replaced)
            environment.emplace_back(text);
    }
    for (const auto& [name, value] : variables) {
        std::string entry = name;
        entry += '=';
        entry += value;
        environment.push_back(std::move(entry));
    }
    return environment;
}

bool IsAddress(const std::string& target)
{
    if (target.rfind("mailto:", 0) == 0)
        return true;
    auto colon = target.find("://");
    if (colon == std::string::npos || colon == 0)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        char c = target[i];
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.'))
            return false;
    }
    return true;
}

StartResult OpenWithDesktop(const std::string& target, const std::string& workingDir,
    const EnvironmentVariables& variables)
{
    if (target.empty() || (!IsAddress(target) && !FileExists(target) && !DirectoryExists(target)))
        return {kFileNotFound, -1, "the file does not exist"};
    if (!workingDir.empty() && !DirectoryExists(workingDir))
        return {kPathNotFound, -1, "its folder " + workingDir + " does not exist"};
    return SpawnOpener(target, workingDir, variables, false);
}

StartResult StartExecutable(const std::string& file, const std::string& workingDir,
    const std::vector<std::string>& arguments, bool attached, const EnvironmentVariables& variables, int* errorOutput)
{
    if (file.empty() || (!FileExists(file) && !DirectoryExists(file)))
        return {kFileNotFound, -1, "the file does not exist"};
    if (!workingDir.empty() && !DirectoryExists(workingDir))
        return {kPathNotFound, -1, "its folder " + workingDir + " does not exist"};
    if (!IsExecutableFile(file))
        return {kAccessDenied, -1, "the file is not executable"};
    std::vector<std::string> argv{file};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    int errorPipe[2] = {-1, -1};
    if (errorOutput != nullptr && attached && ::pipe2(errorPipe, O_CLOEXEC) != 0)
        errorPipe[0] = errorPipe[1] = -1;
    StartResult result = Spawn(file, std::move(argv), ChildEnvironment(variables), workingDir, attached, errorPipe[1]);
    if (errorPipe[1] >= 0)
        ::close(errorPipe[1]);
    if (errorPipe[0] >= 0) {
        if (result.Pid > 0)
            *errorOutput = errorPipe[0];
        else
            ::close(errorPipe[0]);
    }
    return result;
}

int WaitForProcess(int pid)
{
    const ProcessEnd end = WaitForProcessEnd(pid);
    return end.Known && end.Signal == 0 ? end.Status : -1;
}

namespace {

// How much of a process's error output is kept, and how many of its last lines are told:
// enough for the lines that say why an emulator gave up (a missing ROM, a bad switch).
constexpr std::size_t kKeptErrorBytes = 16384;
constexpr std::size_t kToldErrorLines = 50;

// Passes a piece of error output on to this process's own and keeps its end in tail.
void PassOn(const char* data, std::size_t size, std::string& tail)
{
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(STDERR_FILENO, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    tail.append(data, size);
    if (tail.size() > 2 * kKeptErrorBytes)
        tail.erase(0, tail.size() - kKeptErrorBytes);
}

// Reads what is there; false once the writing ends have all closed (or the pipe fails).
bool ReadErrorOutput(int fd, std::string& tail)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            PassOn(buffer, static_cast<std::size_t>(n), tail);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && errno == EAGAIN;
    }
}

std::vector<std::string> LastLines(const std::string& tail)
{
    std::vector<std::string> lines;
    std::size_t start = tail.size() > kKeptErrorBytes ? tail.size() - kKeptErrorBytes : 0;
    // The first line of a cut tail is only its end.
    if (start > 0) {
        const std::size_t newline = tail.find('\n', start);
        start = newline == std::string::npos ? tail.size() : newline + 1;
    }
    while (start < tail.size()) {
        std::size_t end = tail.find('\n', start);
        if (end == std::string::npos)
            end = tail.size();
        std::string line = tail.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (!line.empty())
            lines.push_back(std::move(line));
        start = end + 1;
    }
    if (lines.size() > kToldErrorLines)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(kToldErrorLines));
    return lines;
}

} // namespace

ProcessEnd WaitForProcessEnd(int pid, int errorOutput)
{
    ProcessEnd end;
    if (pid <= 0) {
        if (errorOutput >= 0)
            ::close(errorOutput);
        return end;
    }
    std::string tail;
    if (errorOutput >= 0)
        ::fcntl(errorOutput, F_SETFL, ::fcntl(errorOutput, F_GETFL) | O_NONBLOCK);
    int status = 0;
    bool waited = false;
    for (;;) {
        // While the error output is open the wait looks every tenth of a second: a program
        // that left a child of its own holding the pipe must not keep this wait going.
        if (errorOutput >= 0) {
            pollfd watched{errorOutput, POLLIN, 0};
            if (::poll(&watched, 1, 100) > 0 && !ReadErrorOutput(errorOutput, tail)) {
                ::close(errorOutput);
                errorOutput = -1;
            }
        }
        const pid_t found = ::waitpid(pid, &status, errorOutput >= 0 ? WNOHANG : 0);
        if (found == pid) {
            waited = true;
            break;
        }
        if (found < 0 && errno != EINTR)
            break;
    }
    if (errorOutput >= 0) {
        ReadErrorOutput(errorOutput, tail);
        ::close(errorOutput);
    }
    end.LastErrorLines = LastLines(tail);
    if (!waited)
        return end;
    end.Known = WIFEXITED(status) || WIFSIGNALED(status);
    end.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    end.Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return end;
}

StartResult SystemShell::Open(const std::string& target)
{
    return OpenWithDesktop(target, std::string(), variables_);
}

StartResult SystemShell::OpenIn(const std::string& target, const std::string& workingDir)
{
    return OpenWithDesktop(target, workingDir, variables_);
}

struct SystemShell::Watches {
    std::mutex lock;
    std::condition_variable ended;
    std::set<int> watched; // every pid started watched, ended or not
    std::map<int, ProcessEnd> ends;
};

SystemShell::SystemShell(StartedPrograms mode) : mode_(mode), watches_(std::make_shared<Watches>()) {}

StartResult SystemShell::StartProgram(const std::string& file, const std::string& workingDir,
    const std::vector<std::string>& arguments)
{
    const bool attached = mode_ != StartedPrograms::Detached;
    const bool keepErrors = mode_ == StartedPrograms::AttachedKeepingErrors || mode_ == StartedPrograms::Watched;
    int errorOutput = -1;
    const auto start = std::chrono::steady_clock::now();
    StartResult result =
        StartExecutable(file, workingDir, arguments, attached, variables_, keepErrors ? &errorOutput : nullptr);
    if (result.Pid <= 0)
        return result;
    if (mode_ != StartedPrograms::Watched) {
        startedAt_[result.Pid] = start;
        if (errorOutput >= 0)
            errorPipes_[result.Pid] = errorOutput;
        return result;
    }
    const std::lock_guard<std::mutex> hold(watches_->lock);
    try {
        // The thread holds the watches, not the shell: it may outlive the shell.
        std::thread([watches = watches_, pid = result.Pid, errorOutput, start] {
            ProcessEnd end = WaitForProcessEnd(pid, errorOutput);
            end.Ran = std::chrono::steady_clock::now() - start;
            const std::lock_guard<std::mutex> ended(watches->lock);
            watches->ends[pid] = std::move(end);
            watches->ended.notify_all();
        }).detach();
        watches_->watched.insert(result.Pid);
    } catch (const std::system_error&) {
        // No thread to spare: the emulator runs unwatched, as a detached one would.
        if (errorOutput >= 0)
            ::close(errorOutput);
    }
    return result;
}

SystemShell::~SystemShell()
{
    for (const auto& [pid, fd] : errorPipes_)
        ::close(fd);
}

ProcessEnd SystemShell::WaitForExit(int pid)
{
    if (mode_ == StartedPrograms::Watched) {
        std::unique_lock<std::mutex> hold(watches_->lock);
        if (watches_->watched.count(pid) == 0)
            return {};
        watches_->ended.wait(hold, [&] { return watches_->ends.count(pid) != 0; });
        return watches_->ends[pid];
    }
    int errorOutput = -1;
    if (const auto kept = errorPipes_.find(pid); kept != errorPipes_.end()) {
        errorOutput = kept->second;
        errorPipes_.erase(kept);
    }
    ProcessEnd end = WaitForProcessEnd(pid, errorOutput);
    if (const auto started = startedAt_.find(pid); started != startedAt_.end()) {
        if (end.Known)
            end.Ran = std::chrono::steady_clock::now() - started->second;
        startedAt_.erase(started);
    }
    return end;
}

std::optional<ProcessEnd> SystemShell::ProcessEnded(int pid)
{
    const std::lock_guard<std::mutex> hold(watches_->lock);
    const auto found = watches_->ends.find(pid);
    if (found == watches_->ends.end())
        return std::nullopt;
    return found->second;
}

void SystemShell::SetEnvironmentVariable(const std::string& name, const std::string& value)
{
    if (name.empty() || name.find('=') != std::string::npos)
        return;
    for (auto& variable : variables_) {
        if (variable.first == name) {
            variable.second = value;
            return;
        }
    }
    variables_.emplace_back(name, value);
}

} // namespace vorbix
