#pragma once
// The outside world as core operations see it: opening documents and addresses,
// starting programs, the process environment and the clock. SystemShell is the
// real one; tests substitute fakes.

#include <chrono>
#include <string>
#include <vector>

namespace vorbix {

// Result of starting a program. Code follows the shell convention: greater than 32 on
// success; Pid is the started process when it was started attached (see StartProgram).
struct StartResult {
    int Code = 0;
    int Pid = -1;
    bool Succeeded() const { return Code > 32; }
};

class Shell {
public:
    virtual ~Shell() = default;

    // Opens a file, web or mail address with the desktop's opener; an executable file
    // is started directly. Does not wait.
    virtual StartResult Open(const std::string& target) = 0;
    // As Open, with the given working folder and arguments for an executable.
    virtual StartResult OpenIn(const std::string& file, const std::string& workingDir,
        const std::vector<std::string>& arguments = {}) = 0;
    // Waits for a process started by OpenIn with attached == true to end.
    virtual void WaitForExit(int /*pid*/) {}

    virtual void SetEnvironmentVariable(const std::string& name, const std::string& value) = 0;
    virtual std::chrono::system_clock::time_point Now() { return std::chrono::system_clock::now(); }
};

} // namespace vorbix
