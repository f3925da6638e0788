#include "launching/EmulatorEnd.h"

#include <chrono>
#include <cstring>

namespace vorbix {

namespace {

constexpr auto kHandOver = std::chrono::seconds(3);
constexpr auto kEarlyFailure = std::chrono::seconds(30);

} // namespace

EmulatorWatch WatchEmulator(Shell& shell, int pid, const std::string& emuName)
{
    const std::optional<ProcessEnd> end = shell.ProcessEnded(pid);
    if (!end)
        return {};
    if (end->Ran < kHandOver)
        return {true,
            emuName
                + " ended within 3 seconds of its start, perhaps handing the program to a copy that"
                  " was already running: press OK when you have finished with it."};
    return {true, {}};
}

bool FailureToTell(const std::optional<ProcessEnd>& end, bool watched)
{
    return end && end->Failed() && (watched || end->Ran <= kEarlyFailure);
}

std::string EmulatorFailureMessage(const std::string& emuName, const ProcessEnd& end)
{
    std::string message = emuName;
    if (end.Signal != 0) {
        const char* name = ::strsignal(end.Signal);
        message += " was ended by signal " + std::to_string(end.Signal)
            + (name != nullptr ? std::string(" (") + name + ")" : "");
    } else {
        message += " ended with status " + std::to_string(end.Status);
    }
    for (const std::string& line : end.LastErrorLines)
        message += "\n" + line;
    return message;
}

} // namespace vorbix
