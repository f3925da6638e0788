#pragma once
// What a launch makes of its emulator's end: whether the "Press OK" box may close by
// itself, whether a failure is told, and the message that tells it.

#include "host/Prompts.h"
#include "host/Shell.h"

#include <optional>
#include <string>

namespace vorbix {

// What the watched box learns from the shell about the emulator started as pid: still
// running; ended, so that the box closes; or ended within 3 seconds of its start (most
// likely a launcher that handed the program to a copy already running), which leaves the
// box open with a line that says so.
EmulatorWatch WatchEmulator(Shell& shell, int pid, const std::string& emuName);

// Whether an end is a failure to tell the user: always while the launch watched the
// emulator, else only when it failed within 30 seconds of its start (it gave up by itself
// rather than being closed by the user).
bool FailureToTell(const std::optional<ProcessEnd>& end, bool watched);

// "EMULATOR ended with status N" (or "was ended by signal N (name)"), then the last lines
// of its error output, one a line.
std::string EmulatorFailureMessage(const std::string& emuName, const ProcessEnd& end);

} // namespace vorbix
