#pragma once
// The program editor without its window: New, Edit and Delete of a program with what the
// main window shows afterwards, the dialog's starting values, the image chooser, the
// publisher and type boxes, the compatibility warnings and the comment lines. The dialog
// edits a ProgramRecord copy; only its OK hands the copy to AddProgram or ReplaceProgram.

#include "catalogue/Catalogue.h"
#include "editing/CatalogueChange.h"
#include "host/Prompts.h"

#include <string>
#include <vector>

namespace vorbix {

// The proposals for an image path: SplitCamelCase of its file name without extension, and
// the publisher that FindPublisher finds for its folder name (empty when none matches).
std::string ProposedProgramName(const std::string& path);
std::string ProposedPublisher(const std::string& path, const NameList& publishers);

// What NewProgram fills the dialog with: for a path, the proposed name, the path and the
// proposed publisher; for an empty path, nothing. Everything else empty or off.
ProgramRecord NewProgramRecord(const std::string& path, const NameList& publishers);

// New on OK: appends the record; the list is rebuilt and the new program's row revealed.
CatalogueChange AddProgram(Catalogue& catalogue, ProgramRecord record);
// Edit on OK: overwrites the record at pidx. The list is rebuilt, and the program's row
// revealed, only when the name or the publisher changed (exact comparison); otherwise the
// rows stay as they are. A pidx outside ProgramList changes nothing.
CatalogueChange ReplaceProgram(Catalogue& catalogue, int pidx, ProgramRecord record);
// Delete: asks "Delete " + name + "?" (Yes/No). On Yes removes the record at pidx, whose
// row is selectedRow of rowCount rows; after the rebuild the row that moved into its
// place is revealed (the one before when it was the last row, none when no row is left).
// The image, its pictures and documents stay on disk. On No nothing changes.
CatalogueChange DeleteProgram(Catalogue& catalogue, Prompts& prompts, int pidx, int selectedRow, int rowCount);

// The image chooser: in the current file's folder with that file preset, else in
// lastProgramDir with nothing preset.
FileOpenRequest ProgramImageRequest(const std::string& currentFile, const std::string& lastProgramDir);
// "..." beside "File Name": on a choice the working copy takes the path as chosen, and the
// proposed name and publisher where those are empty; LastProgramDir becomes the file's
// folder. False when cancelled, and nothing changes.
bool BrowseProgramImage(Prompts& prompts, Catalogue& catalogue, ProgramRecord& working);

// Leaving "Publisher" or "Type": the text stays when it equals an item ignoring case (in
// the letter case typed), or when it is still the program's own value (a publisher or
// type the lists do not hold, kept as loaded); else it becomes empty.
std::string CheckCategoryText(const NameList& items, const std::string& text, const std::string& loaded);

// The warning of an emulator: the text of the last row naming it exactly; empty if none.
std::string GetWarning(const ProgramRecord& working, const std::string& emuName);
// A key released in the warning box: every row of the emulator takes the text, or is
// removed when the text has nothing but spaces; with no row, a text with a non-space
// character adds one. Rows of other emulators, defined or not, are left untouched.
void SetWarning(ProgramRecord& working, const std::string& emuName, const std::string& text);

// What the selector and the warning box show when the dialog opens: the first emulator in
// the selector's order with a warning, and that warning; both empty when none has one.
struct WarningShown {
    std::string Emulator;
    std::string Text;

    bool operator==(const WarningShown&) const = default;
};
WarningShown FirstWarningShown(const std::vector<EmuRecord>& emuList, const ProgramRecord& working);
// Leaving the selector: a text that is no item (ignoring case) gives way to the text it
// held on entering.
std::string WarningSelectorOnLeave(const StringList& entries, const std::string& text, const std::string& remembered);

// The longest comment line stored; a longer displayed line is split into several.
inline constexpr std::size_t MaxCommentLineLength = 4096;
// Comments as stored from the comment box's lines as it displays them (the window does
// the wrapping): one entry per line, none for an empty last line.
StringList StoredComments(const StringList& displayedLines);

} // namespace vorbix
