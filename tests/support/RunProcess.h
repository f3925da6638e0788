#pragma once
// Runs a program to its end and collects what it printed.

#include "support/TempDir.h"

#include <string>
#include <vector>

namespace vorbix::test {

struct ProcessOutput {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// A program started in the background: argv[0] with the arguments; extraEnv holds
// "NAME=value" entries added to the environment; input is written to its standard input,
// which then ends. One not waited for is killed at the end of the test.
class StartedProcess {
public:
    explicit StartedProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv = {},
        const std::string& input = "");
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    int Pid() const { return pid_; }
    // Waits for the program to end and collects its output.
    ProcessOutput Wait();

private:
    TempDir io_;
    int pid_ = -1;
};

// Starts the program and waits for it.
ProcessOutput RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv = {},
    const std::string& input = "");

} // namespace vorbix::test
