#pragma once
// The copies a catalogue file is owed before a save may replace it: a damaged file, and a
// programs file that a legacy import replaces. A load keeps the copy at once when it may
// write, or leaves it owed in Catalogue::PendingCopies; a save keeps what is owed first.

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFiles.h"
#include "host/Result.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace vorbix {

class Prompts;
class TXMLLoadObject;
struct XMLStructure;

// A warning box about a catalogue file.
void ShowFileWarning(Prompts& prompts, const std::string& text);

// A load reads the file afresh: whatever it owed before is decided again.
void ForgetPendingCopy(Catalogue& catalogue, const std::string& path);

// What a load did with a file that must be copied aside before it may be replaced: the
// copy's path when it is kept (now or by an earlier start), else the failure, or empty
// texts for a read-only load that left it owed.
struct KeepOutcome {
    std::string Copy;
    std::string Problem;
};
KeepOutcome KeepOrOweCopy(Catalogue& catalogue, const std::string& path, KeepReason reason, LoadAccess access,
    FileWriter& copies);

// Reports a damaged file ("File PATH is damaged: FAULT. What could be read was loaded" +
// whatWasRead, and where it was copied or why not) and keeps or owes its copy.
void ReportDamage(Catalogue& catalogue, const std::string& path, const std::string& fault, Prompts& prompts,
    LoadAccess access, FileWriter& copies, const std::string& whatWasRead = {});

// Checks the structure of a file just read; true when it is damaged (and reported).
bool CheckLoadedFile(Catalogue& catalogue, const TXMLLoadObject& reader, const XMLStructure& structure,
    const std::string& path, Prompts& prompts, LoadAccess access, FileWriter& copies);

// Before a save replaces a file that is owed a copy: keeps the copy (noted for the user in
// notices), or refuses the save of that file with the reason.
Status KeepOwedCopy(Catalogue& catalogue, const std::string& path, FileWriter& writer,
    std::vector<std::string>& notices);

// Refuses the save of a file that is still owed its copy.
Status RefuseWhileOwed(const Catalogue& catalogue, const std::string& path);

} // namespace vorbix
