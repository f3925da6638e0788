#pragma once
// The outside world as core operations see it: opening documents and addresses,
// starting programs, the environment they get and the clock. SystemShell is the real
// one; tests substitute fakes.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vorbix {

// Result of starting a program. Code follows the shell convention: greater than 32 on
// success; Pid is the started process when it was started attached (see StartProgram).
struct StartResult {
    int Code = 0;
    int Pid = -1;
    // Why a program could not be started, as a user reads it ("the file is not executable");
    // empty on success.
    std::string Reason;
    bool Succeeded() const { return Code > 32; }
};

// How a waited-for process ended. Status is its exit status and Signal the signal that
// ended it (0 for none); neither is known for a process that could not be waited for.
struct ProcessEnd {
    bool Known = false;
    int Status = 0;
    int Signal = 0;
    // The last lines it wrote to its error output, when the shell kept them.
    std::vector<std::string> LastErrorLines;
    // How long it ran, from its start to its end; zero when the shell did not time it.
    std::chrono::steady_clock::duration Ran{};
    bool Failed() const { return Known && (Status != 0 || Signal != 0); }
};

class Shell {
public:
    virtual ~Shell() = default;

    // Hands a document, report file, help page, folder, web or mail address to the
    // desktop's opener. A file is never executed here, whatever its mode says (every file
    // on a FAT or NTFS stick carries the execute bit). Does not wait.
    virtual StartResult Open(const std::string& target) = 0;
    // As Open, with the given working folder for the opener.
    virtual StartResult OpenIn(const std::string& target, const std::string& workingDir) = 0;
    // Starts an executable file directly, in the working folder, with the arguments: only
    // the launch starts an emulator this way. The shell decides whether the program stays
    // attached (Pid set, to be waited for with WaitForExit) or runs on its own.
    virtual StartResult StartProgram(const std::string& file, const std::string& workingDir,
        const std::vector<std::string>& arguments) = 0;
    // Waits for a process started attached by StartProgram to end.
    virtual ProcessEnd WaitForExit(int /*pid*/) { return {}; }
    // Whether a process started attached has ended, without waiting: its end once it has,
    // nothing while it runs (or when the shell cannot tell). A later WaitForExit still
    // returns the same end.
    virtual std::optional<ProcessEnd> ProcessEnded(int /*pid*/) { return std::nullopt; }

    // Sets a variable for every program started or opened from now on; it stays set for
    // the shell's lifetime.
    virtual void SetEnvironmentVariable(const std::string& name, const std::string& value) = 0;
    virtual std::chrono::system_clock::time_point Now() { return std::chrono::system_clock::now(); }
};

} // namespace vorbix
