#include "support/RunProcess.h"

#include "support/TempDir.h"

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace vorbix::test {

ProcessOutput RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
    const std::string& input)
{
    TempDir io;
    const std::string in = io.Write("in", input);
    const std::string out = io / "out";
    const std::string err = io / "err";
    ProcessOutput result;
    pid_t pid = ::fork();
    if (pid == 0) {
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
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadAll(out);
    result.err = ReadAll(err);
    return result;
}

} // namespace vorbix::test
