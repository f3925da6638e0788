#pragma once
// Adding a whole folder of images: every disk, tape or ROM image below a folder that is not
// yet a catalogue program is found and given a name, a publisher and where they came from.
// The scan reads only the files and a copy of what it needs of the catalogue, so that it can
// run away from the window's thread while the window stays responsive.

#include "catalogue/NameList.h"
#include "catalogue/Records.h"
#include "collection/ChecksumLists.h"
#include "editing/CatalogueChange.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

struct Catalogue;

// What the scan needs of the catalogue, copied from it before the scan starts.
struct ScanCatalogue {
    std::vector<std::string> FileUrls; // by PIdx
    std::vector<std::string> Names; // by PIdx
    NameList Publishers;
    NameList ProgramTypes;

    static ScanCatalogue Of(const Catalogue& catalogue);
};

enum class ScanStage {
    Catalogue, // looking at the catalogue's own image files
    Folders, // walking the folders (the total is not known yet)
    Images, // naming and checking each image found
};

// Lets the scan report how far it has got and learn that it should stop. Called on the
// scan's thread.
class ScanControl {
public:
    virtual ~ScanControl() = default;
    virtual bool Cancelled() const { return false; }
    virtual void Progress(ScanStage /*stage*/, std::size_t /*done*/, std::size_t /*total*/) {}
};

// Where a proposal's name came from.
enum class NameSource : std::uint8_t {
    List, // a checksum list's entry, matched exactly
    ListByContent, // a checksum list's entry, matched by the disc's content
    FileName, // the file name in the TOSEC form
    Folder, // the program editor's rules: the file name and the folder's publisher
};

// One image to add, as the preview shows and edits it.
struct FolderProposal {
    ProgramRecord Record; // ProgramName, FileUrl, PublisherName, ProgramType, Comments
    NameSource Source = NameSource::Folder;
    std::string ListName; // the list that matched, for List and ListByContent
    // Set when lists were given and none had the image.
    bool Unmatched = false;
    // The PIdx of a catalogue program whose file holds the same bytes, or -1.
    int CopyOf = -1;
    bool Ticked = true;
};

struct FolderScanResult {
    std::vector<FolderProposal> Proposals;
    std::size_t ImagesFound = 0; // images below the folder, each file once
    std::size_t AlreadyInCatalogue = 0; // of those, files that are a catalogue program's
    std::size_t UnreadableFolders = 0;
    std::size_t LinkLoops = 0; // links to a folder above them, and links that lead nowhere
    std::size_t SpecialFiles = 0; // FIFOs, devices and sockets
    std::size_t UnreadableFiles = 0; // images that could not be read for their checksum
    bool Cancelled = false;
};

// Whether the file name's extension is one of DiskImageMasks or RomImageMasks, in any
// letter case.
bool IsCatalogueImageName(const std::string& name);

// Scans the folder. Proposals come in the order of a walk that takes each folder's entries
// sorted by name. A cancelled scan returns what it had found, with Cancelled set.
FolderScanResult ScanFolder(const std::string& folder, const ScanCatalogue& catalogue, const ChecksumLists& lists,
    ScanControl& control);

// The text of a source for the preview and the terminal: "list", "list (matched by content)",
// "file name", "folder".
std::string SourceText(NameSource source);

// Whether the category is one the list does not hold yet in any letter case (an empty one
// never is).
bool IsNewCategory(const NameList& list, const std::string& name);

// What the preview and the terminal say of a proposal beside its name, in this order:
// "copy of PROGRAM", "new publisher", "new type", the list that matched, "not in the lists".
// Each is catalogue text (bytes) on its own, so that each is shown as its own encoding reads.
std::vector<std::string> ProposalNotes(const FolderProposal& proposal, const ScanCatalogue& catalogue);

// The scan in one line, for the preview's last line and the terminal: "12 images found: 9 to
// add, 1 copy of a catalogue program, 2 already in the catalogue, 3 not in the lists;
// skipped: 1 unreadable folder, 1 link that loops or leads nowhere, 1 special file".
// Counts of nothing are left out.
std::string ScanSummary(const FolderScanResult& result, bool listsGiven);

// Adds the ticked proposals to the catalogue in their order, with each publisher and type
// that is new added to its category list; the first added program is the one to reveal.
CatalogueChange AddProposals(Catalogue& catalogue, const std::vector<FolderProposal>& proposals);

} // namespace vorbix
