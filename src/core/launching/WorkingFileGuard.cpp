#include "launching/WorkingFileGuard.h"

#include "catalogue/Utilities.h"
#include "launching/LaunchProgram.h"
#include "platform/FileSystem.h"
#include "platform/InodeScan.h"
#include "platform/Process.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace vorbix {

namespace {

struct WorkingFile {
    std::string Path;
    DeviceInode Identity;
};

class ClashSearch {
public:
    ClashSearch(const Catalogue& catalogue, const std::vector<std::string>& workingFiles);
    std::optional<WorkingFileClash> Run();

private:
    std::optional<WorkingFileClash> ApplicationFile(const char* relativeName, const std::string& what) const;
    std::optional<WorkingFileClash> InDataFolder() const;
    std::unordered_set<std::string_view> FoldersThatMayHoldOne() const;
    std::optional<WorkingFileClash> ProgramFile(const ProgramRecord& program,
        const std::unordered_set<std::string_view>& folders) const;
    std::optional<WorkingFileClash> SameAs(const std::string& path, const std::string& what) const;

    const Catalogue& cat_;
    std::vector<WorkingFile> files_;
    std::vector<DeviceInode> identities_;
};

std::string_view FolderOf(const std::string& path)
{
    return std::string_view(path).substr(0, FolderPartLength(path));
}

// Where an image's picture and box cover lie: its folder, or the root for an image
// without one (as PictureFileFor places them).
std::string_view PictureFolderOf(const std::string& image)
{
    const std::string_view folder = FolderOf(image);
    return folder.empty() ? std::string_view("/") : folder;
}

bool IsDocumentFile(const std::string& url)
{
    return !url.empty() && !IsAddress(url);
}

ClashSearch::ClashSearch(const Catalogue& catalogue, const std::vector<std::string>& workingFiles) : cat_(catalogue)
{
    for (const std::string& path : workingFiles) {
        if (const std::optional<DeviceInode> identity = IdentityOf(path)) {
            files_.push_back({path, *identity});
            identities_.push_back(*identity);
        }
    }
}

std::optional<WorkingFileClash> ClashSearch::Run()
{
    if (files_.empty())
        return std::nullopt;
    for (const auto& [name, what] : {std::pair{"Data/programs.xml", "the catalogue's programs file"},
             std::pair{"Data/options.xml", "the catalogue's options file"},
             std::pair{kDfsRomFile, "a DFS ROM image of the application"},
             std::pair{kE00DfsRomFile, "a DFS ROM image of the application"}})
        if (auto clash = ApplicationFile(name, what))
            return clash;
    if (auto clash = InDataFolder())
        return clash;
    const std::unordered_set<std::string_view> folders = FoldersThatMayHoldOne();
    if (folders.empty())
        return std::nullopt;
    for (const ProgramRecord& program : cat_.ProgramList)
        if (auto clash = ProgramFile(program, folders))
            return clash;
    return std::nullopt;
}

std::optional<WorkingFileClash> ClashSearch::SameAs(const std::string& path, const std::string& what) const
{
    const std::optional<DeviceInode> identity = IdentityOf(path);
    if (!identity)
        return std::nullopt;
    const auto file = std::find_if(files_.begin(), files_.end(),
        [&](const WorkingFile& working) { return working.Identity == *identity; });
    if (file == files_.end())
        return std::nullopt;
    return WorkingFileClash{file->Path, "is the same file as " + path + " (" + what + ")"};
}

std::optional<WorkingFileClash> ClashSearch::ApplicationFile(const char* relativeName, const std::string& what) const
{
    return SameAs(cat_.AppFile(relativeName), what);
}

// Everything in the Data folder is the catalogue's: its files, the copies kept of them.
std::optional<WorkingFileClash> ClashSearch::InDataFolder() const
{
    const std::string data = cat_.AppFile("Data");
    const std::optional<DeviceInode> folder = IdentityOf(data);
    if (!folder)
        return std::nullopt;
    for (const WorkingFile& file : files_)
        if (LiesInFolder(file.Path, *folder))
            return WorkingFileClash{file.Path, "lies in the catalogue's folder " + data};
    return std::nullopt;
}

// Every folder the catalogue names, each read once; most programs share their folder with
// the one before, which spares most of the hashing.
std::unordered_set<std::string_view> ClashSearch::FoldersThatMayHoldOne() const
{
    std::unordered_set<std::string_view> named;
    std::string_view last;
    auto add = [&](std::string_view folder) {
        if (folder != last || named.empty()) {
            named.insert(folder);
            last = folder;
        }
    };
    for (const ProgramRecord& program : cat_.ProgramList) {
        if (!program.FileUrl.empty()) {
            add(FolderOf(program.FileUrl));
            add(PictureFolderOf(program.FileUrl));
        }
        for (const std::string& url : program.DocLinkUrls)
            if (IsDocumentFile(url))
                add(FolderOf(url));
    }
    std::unordered_set<std::string_view> suspects;
    for (const std::string_view folder : named)
        if (FolderMayHold(std::string(folder), identities_))
            suspects.insert(folder);
    return suspects;
}

// The program's files that lie in a folder that may hold a working file, asked one by one.
std::optional<WorkingFileClash> ClashSearch::ProgramFile(const ProgramRecord& program,
    const std::unordered_set<std::string_view>& folders) const
{
    auto of = [&program](const char* what) { return what + (" of " + program.ProgramName + " in the catalogue"); };
    if (!program.FileUrl.empty()) {
        if (folders.count(FolderOf(program.FileUrl)) != 0)
            if (auto clash = SameAs(program.FileUrl, of("the image")))
                return clash;
        if (folders.count(PictureFolderOf(program.FileUrl)) != 0) {
            if (auto clash = SameAs(PictureFileFor(program.FileUrl), of("the picture")))
                return clash;
            if (auto clash = SameAs(BoxCoverFileFor(program.FileUrl), of("the box cover")))
                return clash;
        }
    }
    for (const std::string& url : program.DocLinkUrls)
        if (IsDocumentFile(url) && folders.count(FolderOf(url)) != 0)
            if (auto clash = SameAs(url, of("a document")))
                return clash;
    return std::nullopt;
}

} // namespace

std::optional<WorkingFileClash> FindWorkingFileClash(const Catalogue& catalogue,
    const std::vector<std::string>& workingFiles)
{
    return ClashSearch(catalogue, workingFiles).Run();
}

} // namespace vorbix
