#pragma once
// Runs a program to its end and collects what it printed.

#include <string>
#include <vector>

namespace vorbix::test {

struct ProcessOutput {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs argv[0] with the arguments; extraEnv holds "NAME=value" entries added to the
// environment; input is written to its standard input.
ProcessOutput RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv = {},
    const std::string& input = "");

} // namespace vorbix::test
