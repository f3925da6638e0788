#pragma once
// Files dropped on the main window: a disk or ROM image is run (and may be added to the
// catalogue), a JPEG becomes the selected program's picture or box cover.

#include "launching/LaunchProgram.h"

#include <string>
#include <vector>

namespace vorbix {

// The tab the details panel shows. A JPEG dropped while the Disc tab shows is refused as on
// the Information tab: neither holds a picture.
enum class DetailsTab { Picture, BoxCover, Information, Disc };

// Who chose the files: the user, dropping them on the window with the mouse, or a start of
// vorbix with files (a file manager's "Open with", or a later start handing them over),
// which knows nothing of the program selected in the window.
enum class DropOrigin { Mouse, Handed };

struct DropInput {
    std::vector<std::string> Files; // in drop order; only the first one is handled
    std::string SelectorText; // the emulator selector, for a dropped image
    std::vector<std::string> SelectorEntries;
    int SelectedPIdx = -1; // PIdx of the program list's selected row; -1 when none
    DetailsTab ShownTab = DetailsTab::Picture;
    DropOrigin Origin = DropOrigin::Mouse;
};

// What the window must do after a drop.
struct DropResult {
    bool Launched = false;
    LaunchResult Launch; // the launch's requests, when an image was run
    bool OpenProgramEditor = false; // NewProgram with NewProgramPath
    std::string NewProgramPath;
    bool RefreshDetails = false; // a dropped JPEG was copied
};

// A JPEG that was handed over (not dropped by the user) asks first whether it is to become
// the selected program's picture (or box cover), with No as the default. What it copies goes
// through the writer.
DropResult HandleDroppedFiles(const DropInput& input, const Catalogue& catalogue, Prompts& prompts, Shell& shell,
    FileWriter& writer = SystemFileWriter());

// The refusal of a drop the window does not take: a file that is no disk or ROM image or
// JPEG, or a web address (a link dragged from a browser), which names no file here.
void RefuseDrop(Prompts& prompts);

} // namespace vorbix
