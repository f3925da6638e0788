#include "platform/Process.h"

#include "platform/FileSystem.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vorbix {

namespace {

// Shell-style result codes: 0 out of resources, 2 file not found, 3 path not found,
// 5 access denied; anything above 32 is success.
constexpr int kSuccess = 42;
constexpr int kOutOfResources = 0;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;

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

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0111) != 0
        && ::access(path.c_str(), X_OK) == 0;
}

bool WriteErrno(int fd, int err)
{
    return ::write(fd, &err, sizeof err) == static_cast<ssize_t>(sizeof err);
}

// Runs in the child that becomes the program: enters the folder and executes.
[[noreturn]] void ExecChild(const std::vector<std::string>& argv, const std::string& workingDir,
    bool searchPath, int errorFd)
{
    if (!workingDir.empty() && ::chdir(workingDir.c_str()) != 0) {
        WriteErrno(errorFd, errno);
        ::_exit(127);
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if (searchPath)
        ::execvp(args[0], args.data());
    else
        ::execv(args[0], args.data());
    WriteErrno(errorFd, errno);
    ::_exit(127);
}

// Starts argv; returns the shell-style code and, when attached, the pid.
StartResult Spawn(const std::vector<std::string>& argv, const std::string& workingDir,
    bool searchPath, bool attached)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {kOutOfResources, -1};

    pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return {kOutOfResources, -1};
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        ::setsid();
        if (!attached) {
            // Double fork: the grandchild is adopted by init, which reaps it.
            pid_t grandchild = ::fork();
            if (grandchild < 0) {
                WriteErrno(pipeFds[1], EAGAIN);
                ::_exit(127);
            }
            if (grandchild > 0)
                ::_exit(0);
        }
        ExecChild(argv, workingDir, searchPath, pipeFds[1]);
    }
    ::close(pipeFds[1]);
    // The pipe closes when exec succeeds (close-on-exec) or the child reports an error.
    int err = 0;
    ssize_t n;
    do {
        n = ::read(pipeFds[0], &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    ::close(pipeFds[0]);

    if (!attached) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (n == static_cast<ssize_t>(sizeof err)) {
        if (attached) {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }
        return {CodeForErrno(err), -1};
    }
    return {kSuccess, attached ? static_cast<int>(child) : -1};
}

} // namespace

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
    const std::vector<std::string>& arguments, bool attached)
{
    if (target.empty())
        return {kFileNotFound, -1};
    if (!workingDir.empty() && !DirectoryExists(workingDir))
        return {kPathNotFound, -1};
    if (IsAddress(target))
        return Spawn({"xdg-open", target}, workingDir, true, attached);
    if (!FileExists(target) && !DirectoryExists(target))
        return {kFileNotFound, -1};
    if (IsExecutableFile(target)) {
        std::vector<std::string> argv{target};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return Spawn(argv, workingDir, false, attached);
    }
    return Spawn({"xdg-open", target}, workingDir, true, attached);
}

int WaitForProcess(int pid)
{
    if (pid <= 0)
        return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

StartResult SystemShell::Open(const std::string& target)
{
    return OpenWithDesktop(target, std::string(), {}, false);
}

StartResult SystemShell::OpenIn(const std::string& file, const std::string& workingDir,
    const std::vector<std::string>& arguments)
{
    return OpenWithDesktop(file, workingDir, arguments, attach_);
}

void SystemShell::WaitForExit(int pid)
{
    WaitForProcess(pid);
}

void SystemShell::SetEnvironmentVariable(const std::string& name, const std::string& value)
{
    if (!name.empty() && name.find('=') == std::string::npos)
        ::setenv(name.c_str(), value.c_str(), 1);
}

} // namespace vorbix
