#pragma once
// What the details panel shows for the selected program, as plain values: the window
// only draws them.

#include "browsing/StatusBarTexts.h"
#include "catalogue/Records.h"

#include <string>
#include <vector>

namespace vorbix {

class Prompts;
class Shell;

// One entry of a link column: the name shown and the target opened on a click.
struct DetailsLink {
    std::string Name;
    std::string Url;

    bool operator==(const DetailsLink&) const = default;
};

inline constexpr std::size_t kLinksPerColumn = 7;

// A default-constructed value is the panel without a selection: every part empty (no
// picture, not the placeholder; empty box cover, texts, link columns and status bar), so
// nothing of a previously selected program stays on screen.
struct ProgramDetails {
    bool HasProgram = false;
    std::string ImageFile; // the program's FileUrl, whose contents the Disc tab shows
    std::string PictureFile;
    bool PictureExists = false;
    std::string BoxCoverFile;
    bool BoxCoverExists = false;
    StringList CommentLines;
    StringList WarningLines; // emulator name + ": " + warning text
    std::vector<DetailsLink> LeftLinks; // links 1 to 7
    std::vector<DetailsLink> RightLinks; // links 8 to 14; later links are not shown
    StatusPanels Status;

    // A selected program without a picture file shows the built-in placeholder picture.
    bool ShowPlaceholderPicture() const { return HasProgram && !PictureExists; }
};

// The details of a selected program in a list of rowCount rows. Looks at the disk only to
// test whether the picture and box-cover files exist.
ProgramDetails DetailsFor(const ProgramRecord& program, int rowCount);

// What the Disc tab shows for the details: what is on the program's image (DescribeImageFile),
// or the one line why it cannot be read; nothing without a program. The image is read only
// here, when the tab is shown, and never more than its catalogue or a bounded tape.
StringList DiscTabLines(const ProgramDetails& details);

// Whether the text is a web address (http:// or https://, in any case) that a browser opens.
bool IsWebAddress(const std::string& target);

// A click on a document link: opens an existing file or a web address through the shell,
// otherwise shows "Cannot find file " + target as an error. An opener that cannot be
// started is "Cannot open " + target + ": " + the reason. A non-empty workingDir opens a file
// with that folder as the opener's working folder.
void OpenDocumentLink(const std::string& target, Prompts& prompts, Shell& shell, const std::string& workingDir = {});

} // namespace vorbix
