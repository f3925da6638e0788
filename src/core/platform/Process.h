#pragma once
// Starting outside programs: the desktop's opener for documents and addresses, or an
// emulator's executable directly. Everything a started process needs (its arguments, its
// environment, the program's full path) is prepared before the fork; the child only
// changes folder and executes, so nothing is allocated in a process that runs threads.

#include "host/Shell.h"

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vorbix {

// Variables set for started programs over the process's own environment, in the order
// they were first set; a name appears once.
using EnvironmentVariables = std::vector<std::pair<std::string, std::string>>;

// The environment a started program gets, as NAME=value entries: the process's own
// environment with the variables set over it.
std::vector<std::string> ChildEnvironment(const EnvironmentVariables& variables);

// Hands the target (a document, folder, web or mail address) to the desktop's opener,
// xdg-open, found on the PATH of the child's environment. A file is never executed,
// whatever its mode. The opener runs detached and is reaped, so no zombie is left.
StartResult OpenWithDesktop(const std::string& target, const std::string& workingDir,
    const EnvironmentVariables& variables);

// Starts an executable file directly with the arguments in the working folder. Only the
// file itself is ever executed: one without the execute permission is refused ("the file
// is not executable"), never handed to the opener, which would open a disc image with the
// very program that launched it. With attached false the process is detached and reaped
// at once, so nothing waits for it and no zombie is left; with attached true the caller
// gets its Pid and must WaitForProcess. A program that cannot be executed gives a code of
// 32 or less and the Reason. With errorOutput (attached only), the program's error output
// goes into a pipe whose reading end is stored there, for WaitForProcessEnd.
StartResult StartExecutable(const std::string& file, const std::string& workingDir,
    const std::vector<std::string>& arguments, bool attached, const EnvironmentVariables& variables,
    int* errorOutput = nullptr);

// Waits for an attached process to end; returns its exit status (-1 when unknown).
int WaitForProcess(int pid);

// Waits for an attached process to end. With errorOutput (a pipe from StartExecutable,
// closed here) what the process writes there is passed on to this process's error output
// as it comes, and its last lines are kept.
ProcessEnd WaitForProcessEnd(int pid, int errorOutput = -1);

// Whether the text is a web or mail address rather than a file.
bool IsAddress(const std::string& target);

// Whether path is a regular file that this process may execute.
bool IsExecutableFile(const std::string& path);

// How the real shell starts emulators. Detached: they run on their own and are never
// waited for. Attached: the caller gets each one's Pid and must wait for it. Attached,
// keeping errors (for a caller that always waits): WaitForExit also reports the last lines
// each wrote to its error output. Watched (the window): as that, but a thread of the shell
// waits for each one and keeps its end, so that ProcessEnded can tell at any time whether
// it has ended and nothing is left for the caller to reap.
enum class StartedPrograms { Detached, Attached, AttachedKeepingErrors, Watched };

// The shell of the real system. The variables that launches set are kept here and given
// to every later start; the process's own environment is never changed.
class SystemShell : public Shell {
public:
    explicit SystemShell(StartedPrograms mode = StartedPrograms::Detached);
    ~SystemShell() override;
    SystemShell(const SystemShell&) = delete;
    SystemShell& operator=(const SystemShell&) = delete;

    StartResult Open(const std::string& target) override;
    StartResult OpenIn(const std::string& target, const std::string& workingDir) override;
    StartResult StartProgram(const std::string& file, const std::string& workingDir,
        const std::vector<std::string>& arguments) override;
    ProcessEnd WaitForExit(int pid) override;
    std::optional<ProcessEnd> ProcessEnded(int pid) override;
    void SetEnvironmentVariable(const std::string& name, const std::string& value) override;

private:
    struct Watches;

    StartedPrograms mode_;
    EnvironmentVariables variables_;
    std::map<int, int> errorPipes_; // pid -> reading end of its error output
    std::map<int, std::chrono::steady_clock::time_point> startedAt_; // attached, not yet waited for
    // The ends the watching threads found; shared with them, as they outlive the shell when
    // the window closes before its emulator.
    std::shared_ptr<Watches> watches_;
};

} // namespace vorbix
