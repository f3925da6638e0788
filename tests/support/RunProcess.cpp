#include "support/RunProcess.h"

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace vorbix::test {

StartedProcess::StartedProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
    const std::string& input)
{
    const std::string in = io_.Write("in", input);
    const std::string out = io_ / "out";
    const std::string err = io_ / "err";
    pid_ = ::fork();
    if (pid_ == 0) {
        if (!std::freopen(in.c_str(), "r", stdin) || !std::freopen(out.c_str(), "w", stdout)
            || !std::freopen(err.c_str(), "w", stderr))
            ::_exit(126);
        for (const auto& e : extraEnv)
            ::putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
}

StartedProcess::~StartedProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

ProcessOutput StartedProcess::Wait()
{
    ProcessOutput result;
    if (pid_ <= 0)
        return result;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadAll(io_ / "out");
    result.err = ReadAll(io_ / "err");
    return result;
}

ProcessOutput RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
    const std::string& input)
{
    return StartedProcess(argv, extraEnv, input).Wait();
}

} // namespace vorbix::test
