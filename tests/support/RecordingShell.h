#pragma once
// A shell that records what it was asked to open or start and the environment variables
// it was given, starts nothing, and keeps a clock the test can set.

#include "host/Shell.h"

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vorbix::test {

class RecordingShell : public Shell {
public:
    struct Start {
        std::string file;
        std::string workingDir;
        std::vector<std::string> arguments;
    };

    StartResult Open(const std::string& target) override;
    StartResult OpenIn(const std::string& target, const std::string& workingDir) override;
    StartResult StartProgram(const std::string& file, const std::string& workingDir,
        const std::vector<std::string>& arguments) override;
    void SetEnvironmentVariable(const std::string& name, const std::string& value) override;
    std::chrono::system_clock::time_point Now() override;

    std::vector<std::string> opened; // Open and OpenIn targets, in order
    std::vector<std::string> workingDirs; // the working folder of each OpenIn, in order
    std::vector<Start> started; // StartProgram calls, in order
    std::vector<std::pair<std::string, std::string>> variables;
    // When set, the clock stands at this time; otherwise it is the real clock.
    std::optional<std::chrono::system_clock::time_point> FixedNow;
};

} // namespace vorbix::test
