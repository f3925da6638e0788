#pragma once
// The launch sequence: runs a catalogue program, a dropped image or no program in the
// emulator named by the main window's emulator selector, with the after-run steps.

#include "catalogue/Catalogue.h"

#include <string>
#include <vector>

namespace vorbix {

class Prompts;
class Shell;

inline constexpr const char* kNoProgram = "noprog";
inline constexpr const char* kListItem = "listitem";

// What the window hands to a launch.
struct LaunchInput {
    std::string SelectorText;                  // the emulator selector's text
    std::vector<std::string> SelectorEntries;  // its entries
    // kNoProgram, kListItem, or with FromDrop the dropped image's full path. Any other
    // text without FromDrop means the selected row.
    std::string ProgramArg = kListItem;
    bool FromDrop = false;
    int SelectedPIdx = -1;  // PIdx of the program list's selected row; -1 when none
    // Wait for the started emulator process to end (when the shell started it attached)
    // instead of holding the after-run steps with "Press OK after running emulator".
    bool WaitForEmulatorExit = false;
};

enum class LaunchOutcome {
    Finished,  // every step ran (reported problems included)
    Stopped,   // ended with an error message
    Declined   // the user answered No to a warning or to the picture overwrite
};

// What the window must do after a launch.
struct LaunchResult {
    LaunchOutcome Outcome = LaunchOutcome::Finished;
    bool ClearSelectorText = false;
    bool UpdateCommandStates = false;
    bool RefreshDetails = false;  // a new picture was copied beside the program's image
};

LaunchResult LaunchProgram(const LaunchInput& input, const Catalogue& catalogue, Prompts& prompts,
    Shell& shell);

} // namespace vorbix
