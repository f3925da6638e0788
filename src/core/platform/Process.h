#pragma once
// Starting outside programs: the desktop's opener for documents and addresses, or an
// executable directly.

#include "host/Shell.h"

#include <string>
#include <vector>

namespace vorbix {

// Opens the target: an executable file is started directly with the arguments and the
// working folder; anything else (document, folder, web or mail address) is handed to the
// desktop's opener, xdg-open. With attached false the started process is detached and
// reaped at once, so nothing waits for it and no zombie is left; with attached true the
// caller gets its Pid and must WaitForProcess.
StartResult OpenWithDesktop(const std::string& target, const std::string& workingDir,
    const std::vector<std::string>& arguments, bool attached);

// Waits for an attached process to end; returns its exit status (-1 when unknown).
int WaitForProcess(int pid);

// Whether the text is a web or mail address rather than a file.
bool IsAddress(const std::string& target);

// The shell of the real system.
class SystemShell : public Shell {
public:
    // attachStartedPrograms: programs started by OpenIn stay attached so that the caller
    // can wait for them (the command-line tool's --wait).
    explicit SystemShell(bool attachStartedPrograms = false) : attach_(attachStartedPrograms) {}

    StartResult Open(const std::string& target) override;
    StartResult OpenIn(const std::string& file, const std::string& workingDir,
        const std::vector<std::string>& arguments = {}) override;
    void WaitForExit(int pid) override;
    void SetEnvironmentVariable(const std::string& name, const std::string& value) override;

private:
    bool attach_;
};

} // namespace vorbix
