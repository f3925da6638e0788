#pragma once
// The program editor's links list and the link dialog, without their windows: moving,
// sorting and deleting links, which link buttons are enabled, the link dialog's OK check
// and its file chooser. The program editor keeps its links as a list of DocLink while the
// dialog is open.

#include "catalogue/Catalogue.h"
#include "host/Prompts.h"

#include <optional>
#include <string>
#include <vector>

namespace vorbix {

struct DocLink {
    std::string Name;
    std::string Url;

    bool operator==(const DocLink&) const = default;
};

// The links list holds at most this many rows added through the dialog; a program loaded
// with more keeps them all.
inline constexpr int MaxDocLinks = 14;

// The program's links, row by row (a url missing from a damaged record is empty), and back.
std::vector<DocLink> LinksOf(const ProgramRecord& program);
void StoreLinks(ProgramRecord& program, const std::vector<DocLink>& links);

// "&New" on the link dialog's OK: appends the link and returns its row; -1 when the list
// already holds MaxDocLinks rows.
int AddLink(std::vector<DocLink>& links, DocLink link);
// The arrow buttons: the row and its neighbour exchange places; the row to select is the
// neighbour's. A row without that neighbour stays where it is.
int MoveLinkUp(std::vector<DocLink>& links, int row);
int MoveLinkDown(std::vector<DocLink>& links, int row);
// "&Sort": by name, locale-aware and case-sensitive; equal names keep their order. No row
// is selected afterwards.
void SortLinks(std::vector<DocLink>& links);

struct LinkDelete {
    bool Removed = false;
    int Row = -1; // the row to select: the next row after a removal, the same on Cancel
};
// "&Delete": for a link with a path, asks "Also delete associated file (" + its file name
// + ")?" with Yes, No and Cancel; no path counts as No. On Yes the file is deleted, and
// "Cannot find file " + path or "Cannot delete file " + path is shown when that fails; the
// link is removed on Yes and No alike. Cancel keeps it.
LinkDelete DeleteLink(std::vector<DocLink>& links, int row, Prompts& prompts);

struct LinkButtons {
    bool New = false;
    bool Edit = false;
    bool Delete = false;
    bool Up = false;
    bool Down = false;
    bool Sort = false;

    bool operator==(const LinkButtons&) const = default;
};
// selectedRow is -1 (or outside the list) when no row is selected.
LinkButtons UpdateLinkButtons(int rowCount, int selectedRow);

// The link dialog's OK: refused with "Please enter a link name" when the name has nothing
// but spaces, else with "Please enter a file name" when the file has nothing but spaces;
// the message is shown and the dialog stays open. The texts themselves are kept as typed.
bool LinkOkAccepted(Prompts& prompts, const std::string& name, const std::string& file);

// The link dialog's chooser: in the current file's folder with that file preset, else in
// LastDocDir, else in LastProgramDir.
FileOpenRequest LinkFileRequest(const std::string& currentFile, const Catalogue& catalogue);
// "..." beside "File Name": the chosen path, or nothing when cancelled; a choice makes
// LastDocDir the file's folder.
std::optional<std::string> BrowseLinkFile(Prompts& prompts, Catalogue& catalogue, const std::string& currentFile);

} // namespace vorbix
