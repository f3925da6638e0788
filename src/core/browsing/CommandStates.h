#pragma once
// Which of the main window's program commands are enabled.

#include <string>

namespace vorbix {

struct CommandStates {
    bool RunProgram = false;
    bool RunEmulator = false;
    bool EditProgram = false;
    bool DeleteProgram = false;
    bool NewProgram = true; // never disabled

    bool operator==(const CommandStates&) const = default;
};

// The emulator selector's text is only tested for being empty: its loss-of-focus rule
// keeps it empty or equal to an entry.
CommandStates UpdateCommandStates(bool rowSelected, const std::string& emulatorSelectorText);

} // namespace vorbix
