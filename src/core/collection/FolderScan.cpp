#include "collection/FolderScan.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Utilities.h"
#include "collection/ImageMatching.h"
#include "collection/TosecName.h"
#include "launching/ImageMasks.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace vorbix {

namespace {

// Images are at most a few hundred kilobytes (a hard disc image some megabytes); a file
// larger than this is proposed by its name but not read for a checksum.
constexpr std::uint64_t kLargestHashedImage = 64ull * 1024 * 1024;

struct IdentityHash {
    std::size_t operator()(const DeviceInode& id) const
    {
        return std::hash<unsigned long long>()(id.Inode * 31 + id.Device);
    }
};

// An image found by the walk, before it is named.
struct FoundImage {
    std::string Path;
    std::uint64_t Size = 0;
};

// The catalogue's own image files, by identity and by size, so that an image found is
// known as a program's file or as a copy of one.
class CatalogueFileIndex {
public:
    CatalogueFileIndex(const ScanCatalogue& catalogue, ScanControl& control);

    bool Holds(const DeviceInode& identity) const { return byIdentity_.contains(identity); }
    bool HasSize(std::uint64_t size) const { return bySize_.contains(size); }
    // The PIdx of a program whose file holds exactly the bytes, or -1.
    int CopyOf(std::string_view bytes);

private:
    const ScanCatalogue& catalogue_;
    std::unordered_map<DeviceInode, int, IdentityHash> byIdentity_;
    std::multimap<std::uint64_t, int> bySize_;
    std::unordered_map<int, std::optional<Sha1Digest>> digests_; // read when first needed
};

CatalogueFileIndex::CatalogueFileIndex(const ScanCatalogue& catalogue, ScanControl& control) : catalogue_(catalogue)
{
    const std::size_t count = catalogue.FileUrls.size();
    for (std::size_t pidx = 0; pidx < count && !control.Cancelled(); ++pidx) {
        if (pidx % 4096 == 0)
            control.Progress(ScanStage::Catalogue, pidx, count);
        const std::string& path = catalogue.FileUrls[pidx];
        if (!IsFullPath(path))
            continue;
        const FileIdentity seen = StatFile(path);
        if (!seen.Exists)
            continue;
        byIdentity_.emplace(DeviceInode{seen.Device, seen.Inode}, static_cast<int>(pidx));
        bySize_.emplace(seen.Size, static_cast<int>(pidx));
    }
}

int CatalogueFileIndex::CopyOf(std::string_view bytes)
{
    const auto [first, last] = bySize_.equal_range(bytes.size());
    if (first == last)
        return -1;
    const Sha1Digest digest = Sha1Of(bytes);
    for (auto it = first; it != last; ++it) {
        auto [known, added] = digests_.try_emplace(it->second);
        if (added) {
            Result<std::string> other = ReadFileBytes(catalogue_.FileUrls[static_cast<std::size_t>(it->second)]);
            if (other && other.Value().size() == bytes.size())
                known->second = Sha1Of(other.Value());
        }
        if (known->second == digest)
            return it->second;
    }
    return -1;
}

// Walks the folders depth first, each folder's entries sorted by name.
class FolderWalk {
public:
    FolderWalk(const CatalogueFileIndex& index, FolderScanResult& result, ScanControl& control)
        : index_(index), result_(result), control_(control)
    {}

    std::vector<FoundImage> Walk(const std::string& root);

private:
    void Visit(const std::string& folder, std::vector<DeviceInode>& above);
    void TakeFile(const std::string& path, const FolderEntry& entry);

    const CatalogueFileIndex& index_;
    FolderScanResult& result_;
    ScanControl& control_;
    std::set<std::pair<unsigned long long, unsigned long long>> seenFolders_;
    std::set<std::pair<unsigned long long, unsigned long long>> seenFiles_;
    std::vector<FoundImage> found_;
};

std::vector<FoundImage> FolderWalk::Walk(const std::string& root)
{
    std::vector<DeviceInode> above;
    if (const auto identity = IdentityOf(root)) {
        seenFolders_.insert({identity->Device, identity->Inode});
        above.push_back(*identity);
    }
    Visit(IncludeBackslash(root), above);
    return std::move(found_);
}

void FolderWalk::Visit(const std::string& folder, std::vector<DeviceInode>& above)
{
    if (control_.Cancelled())
        return;
    Result<std::vector<FolderEntry>> entries = ListFolder(folder);
    if (!entries) {
        ++result_.UnreadableFolders;
        return;
    }
    control_.Progress(ScanStage::Folders, found_.size(), 0);
    for (const FolderEntry& entry : entries.Value()) {
        const std::string path = folder + entry.Name;
        switch (entry.Kind) {
        case EntryKind::Dangling:
            if (entry.IsLink)
                ++result_.LinkLoops;
            break;
        case EntryKind::Special: ++result_.SpecialFiles; break;
        case EntryKind::File: TakeFile(path, entry); break;
        case EntryKind::Folder:
            if (std::find(above.begin(), above.end(), entry.Identity) != above.end()) {
                ++result_.LinkLoops;
            } else if (seenFolders_.insert({entry.Identity.Device, entry.Identity.Inode}).second) {
                above.push_back(entry.Identity);
                Visit(path + "/", above);
                above.pop_back();
            }
            break;
        }
    }
}

void FolderWalk::TakeFile(const std::string& path, const FolderEntry& entry)
{
    if (!IsCatalogueImageName(entry.Name))
        return;
    // The same file under a second name (a link, a hard link) is found once.
    if (!seenFiles_.insert({entry.Identity.Device, entry.Identity.Inode}).second)
        return;
    ++result_.ImagesFound;
    if (index_.Holds(entry.Identity)) {
        ++result_.AlreadyInCatalogue;
        return;
    }
    found_.push_back({path, entry.Size});
}

// The publisher as the categories spell it when one matches, else as proposed.
std::string KnownSpelling(const std::string& publisher, const NameList& publishers)
{
    if (publisher.empty())
        return publisher;
    std::string known = FindPublisher(publisher, publishers);
    return known.empty() ? publisher : known;
}

void NameFromList(FolderProposal& proposal, const ChecksumEntry& entry, bool byContent, const NameList& publishers)
{
    proposal.Record.ProgramName = entry.Name;
    proposal.Record.PublisherName = KnownSpelling(entry.Publisher, publishers);
    if (!entry.Year.empty())
        proposal.Record.Comments.push_back("Year: " + entry.Year);
    proposal.Source = byContent ? NameSource::ListByContent : NameSource::List;
    proposal.ListName = entry.List;
}

void NameFromPath(FolderProposal& proposal, const NameList& publishers)
{
    const std::string& path = proposal.Record.FileUrl;
    if (const auto tosec = ParseTosecName(FileNameNoExt(path))) {
        proposal.Record.ProgramName = tosec->Title;
        proposal.Record.PublisherName = KnownSpelling(tosec->Publisher, publishers);
        proposal.Source = NameSource::FileName;
        return;
    }
    proposal.Record.ProgramName = SplitCamelCase(FileNameNoExt(path));
    proposal.Record.PublisherName = FindPublisher(FolderName(path), publishers);
    proposal.Source = NameSource::Folder;
}

// Names one image, reading it when a list or a catalogue program of its size may know it.
FolderProposal Propose(const FoundImage& image, const ScanCatalogue& catalogue, const ChecksumLists& lists,
    const std::vector<std::uint64_t>& sizes, CatalogueFileIndex& index, FolderScanResult& result)
{
    FolderProposal proposal;
    proposal.Record.FileUrl = image.Path;
    const bool wanted = !lists.empty() || index.HasSize(image.Size);
    std::optional<ListMatch> match;
    if (wanted && image.Size <= kLargestHashedImage) {
        Result<std::string> bytes = ReadFileBytes(image.Path);
        if (!bytes) {
            ++result.UnreadableFiles;
        } else {
            proposal.CopyOf = index.CopyOf(bytes.Value());
            if (!lists.empty())
                match = MatchInLists(lists, sizes, bytes.Value(), UpperExtension(image.Path) != ".DSD");
        }
    }
    if (match)
        NameFromList(proposal, lists[match->Entry], match->ByContent, catalogue.Publishers);
    else
        NameFromPath(proposal, catalogue.Publishers);
    proposal.Unmatched = !lists.empty() && !match;
    proposal.Ticked = proposal.CopyOf < 0;
    return proposal;
}

} // namespace

ScanCatalogue ScanCatalogue::Of(const Catalogue& catalogue)
{
    ScanCatalogue copy;
    copy.FileUrls.reserve(catalogue.ProgramList.size());
    copy.Names.reserve(catalogue.ProgramList.size());
    for (const ProgramRecord& program : catalogue.ProgramList) {
        copy.FileUrls.push_back(program.FileUrl);
        copy.Names.push_back(program.ProgramName);
    }
    copy.Publishers = catalogue.Publishers;
    copy.ProgramTypes = catalogue.ProgramTypes;
    return copy;
}

bool IsCatalogueImageName(const std::string& name)
{
    const std::string extension = UpperExtension(name);
    if (extension.size() < 2)
        return false;
    for (std::string_view masks : {std::string_view(DiskImageMasks), std::string_view(RomImageMasks)}) {
        // "*.SSD; *.DSD": each extension stands after "*" and before ";" or the end.
        std::size_t at = masks.find(extension);
        while (at != std::string_view::npos) {
            const std::size_t end = at + extension.size();
            if (at > 0 && masks[at - 1] == '*' && (end == masks.size() || masks[end] == ';'))
                return true;
            at = masks.find(extension, at + 1);
        }
    }
    return false;
}

FolderScanResult ScanFolder(const std::string& folder, const ScanCatalogue& catalogue, const ChecksumLists& lists,
    ScanControl& control)
{
    FolderScanResult result;
    CatalogueFileIndex index(catalogue, control);
    const std::vector<FoundImage> found = FolderWalk(index, result, control).Walk(folder);
    const std::vector<std::uint64_t> sizes = lists.Sizes();
    result.Proposals.reserve(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (i % 64 == 0)
            control.Progress(ScanStage::Images, i, found.size());
        if (control.Cancelled())
            break;
        result.Proposals.push_back(Propose(found[i], catalogue, lists, sizes, index, result));
    }
    result.Cancelled = control.Cancelled();
    return result;
}

namespace {

std::string Counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void AddPart(std::string& text, std::size_t count, const char* one, const char* many)
{
    if (count == 0)
        return;
    if (!text.empty())
        text += ", ";
    text += Counted(count, one, many);
}

} // namespace

std::string ScanSummary(const FolderScanResult& result, bool listsGiven)
{
    std::size_t ticked = 0;
    std::size_t copies = 0;
    std::size_t unmatched = 0;
    for (const FolderProposal& proposal : result.Proposals) {
        ticked += proposal.Ticked ? 1 : 0;
        copies += proposal.CopyOf >= 0 ? 1 : 0;
        unmatched += proposal.Unmatched ? 1 : 0;
    }
    std::string found;
    AddPart(found, ticked, "to add", "to add");
    AddPart(found, copies, "copy of a catalogue program", "copies of catalogue programs");
    AddPart(found, result.AlreadyInCatalogue, "already in the catalogue", "already in the catalogue");
    if (listsGiven)
        AddPart(found, unmatched, "not in the lists", "not in the lists");
    std::string skipped;
    AddPart(skipped, result.UnreadableFolders, "unreadable folder", "unreadable folders");
    AddPart(skipped, result.LinkLoops, "link that loops or leads nowhere", "links that loop or lead nowhere");
    AddPart(skipped, result.SpecialFiles, "special file", "special files");
    AddPart(skipped, result.UnreadableFiles, "unreadable image", "unreadable images");
    std::string text = Counted(result.ImagesFound, "image found", "images found");
    if (!found.empty())
        text += ": " + found;
    if (!skipped.empty())
        text += "; skipped: " + skipped;
    if (result.Cancelled)
        text += " (stopped before the end)";
    return text;
}

std::vector<std::string> ProposalNotes(const FolderProposal& proposal, const ScanCatalogue& catalogue)
{
    std::vector<std::string> notes;
    if (proposal.CopyOf >= 0)
        notes.push_back("copy of " + catalogue.Names[static_cast<std::size_t>(proposal.CopyOf)]);
    if (IsNewCategory(catalogue.Publishers, proposal.Record.PublisherName))
        notes.emplace_back("new publisher");
    if (IsNewCategory(catalogue.ProgramTypes, proposal.Record.ProgramType))
        notes.emplace_back("new type");
    if (!proposal.ListName.empty())
        notes.push_back(proposal.ListName);
    if (proposal.Unmatched)
        notes.emplace_back("not in the lists");
    return notes;
}

std::string SourceText(NameSource source)
{
    switch (source) {
    case NameSource::List: return "list";
    case NameSource::ListByContent: return "list (matched by content)";
    case NameSource::FileName: return "file name";
    case NameSource::Folder: return "folder";
    }
    return {};
}

bool IsNewCategory(const NameList& list, const std::string& name)
{
    // A name that differs from a category only in letter case is that category, as the
    // program editor's boxes take it.
    return !name.empty() && !IsEntryIgnoringCase(list.Items(), name);
}

CatalogueChange AddProposals(Catalogue& catalogue, const std::vector<FolderProposal>& proposals)
{
    CatalogueChange change;
    for (const FolderProposal& proposal : proposals) {
        if (!proposal.Ticked)
            continue;
        const ProgramRecord& record = proposal.Record;
        for (auto [list, name] : {std::pair{&catalogue.Publishers, &record.PublisherName},
                 std::pair{&catalogue.ProgramTypes, &record.ProgramType}}) {
            if (IsNewCategory(*list, *name)) {
                list->Add(*name);
                change.Categories = true;
            }
        }
        if (change.RevealPIdx < 0)
            change.RevealPIdx = static_cast<int>(catalogue.ProgramList.size());
        catalogue.ProgramList.push_back(record);
    }
    if (change.RevealPIdx >= 0) {
        catalogue.ProgramsChanged = true;
        change.Programs = true;
        change.RebuildProgramList = true;
    }
    return change;
}

} // namespace vorbix
