#pragma once
// The launch sequence: runs a catalogue program, a dropped image or no program in the
// emulator named by the main window's emulator selector, with the after-run steps.

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace vorbix {

class Prompts;
class Shell;

// What a launch runs: the selected row's program (Run Program, a double-click, Enter in
// the list), no program (Run Emulator), or a dropped image file.
enum class LaunchMode { ListItem, NoProgram, DroppedFile };

// The two DFS ROM images every DFS swap copies from, under the application folder.
inline constexpr const char* kDfsRomFile = "DFSROMS/DFS.ROM";
inline constexpr const char* kE00DfsRomFile = "DFSROMS/E00DFS.ROM";

// Whether both DFS ROM images lie in the application folder (E00DFS.ROM is tested first,
// DFS.ROM only then); what the window sets DfsRomsPresent from at start-up.
bool DfsRomsPresentIn(const Catalogue& catalogue);

// What the window hands to a launch.
struct LaunchInput {
    std::string SelectorText; // the emulator selector's text
    std::vector<std::string> SelectorEntries; // its entries
    LaunchMode Mode = LaunchMode::ListItem;
    std::string DroppedFile; // with LaunchMode::DroppedFile: the image's full path
    int SelectedPIdx = -1; // PIdx of the program list's selected row; -1 when none
    // Wait for the started emulator process to end (when the shell started it attached)
    // instead of holding the after-run steps with "Press OK after running emulator".
    bool WaitForEmulatorExit = false;
};

enum class LaunchOutcome {
    Finished, // every step ran (reported problems included)
    Stopped, // ended with an error message
    Declined // the user answered No to a warning or to the picture overwrite
};

// What the window must do after a launch.
struct LaunchResult {
    LaunchOutcome Outcome = LaunchOutcome::Finished;
    bool ClearSelectorText = false;
    bool UpdateCommandStates = false;
    bool RefreshDetails = false; // a new picture was copied beside the program's image
    // A step reported an error and the launch went on: the ROM configuration could not be
    // updated, the emulator itself failed, or a step after the run (copy back, clean-up,
    // the DFS ROM image) did not succeed. The terminal's exit status counts it as a failure.
    bool StepFailed = false;
    // An emulator started attached that the launch neither waited for nor held a box for
    // (no program, or no after-run step): the window tells its failure when it fails soon
    // after its start (FailureToTell). -1 for none.
    int UnwatchedPid = -1;
    std::string EmulatorName; // as the user named it, for that message
};

// The files the launch writes (the working copy, the changed disk copied back, ROMS.CFG,
// the DFS ROM images, the screen picture) go through the writer.
LaunchResult LaunchProgram(const LaunchInput& input, const Catalogue& catalogue, Prompts& prompts, Shell& shell,
    FileWriter& writer = SystemFileWriter());

} // namespace vorbix
