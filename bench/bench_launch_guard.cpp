// The launch's check that an emulator's working file is no file of the catalogue, on
// catalogues whose images and documents all exist on disk (the images in one folder per
// publisher, the documents in one folder), against asking the system about every path.

#include "catalogue/Utilities.h"
#include "launching/WorkingFileGuard.h"
#include "platform/FileSystem.h"
#include "support/BenchCatalogue.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace vorbix;

// A generated catalogue moved under a temporary folder, with every image and document
// file created (empty), and a working file outside the catalogue.
struct GuardTree {
    std::string root;
    Catalogue catalogue;
    std::string workingFile;

    explicit GuardTree(int programs)
        : root(bench::MakeTempFolder()), catalogue(bench::MakeBenchCatalogue(programs, std::max(1, programs / 200)))
    {
        catalogue.AppDir = root + "app/";
        ForceDirectories(root + "app/Data");
        auto place = [this](std::string& path) {
            path = root + path.substr(std::string("/home/user/").size());
            const std::string folder = FolderPart(path);
            if (!DirectoryExists(folder))
                ForceDirectories(folder);
            ::close(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
        };
        for (ProgramRecord& p : catalogue.ProgramList) {
            place(p.FileUrl);
            for (std::string& url : p.DocLinkUrls)
                place(url);
        }
        workingFile = root + "emu/discs/game.ssd";
        ForceDirectories(root + "emu/discs");
        ::close(::open(workingFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    }
    ~GuardTree() { std::filesystem::remove_all(root); }
};

GuardTree& TreeOf(int programs)
{
    static std::map<int, std::unique_ptr<GuardTree>> trees;
    auto& tree = trees[programs];
    if (!tree)
        tree = std::make_unique<GuardTree>(programs);
    return *tree;
}

// No clash: every folder the catalogue names is read, none holds the working file.
void BM_WorkingFileGuard(benchmark::State& state)
{
    GuardTree& tree = TreeOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto clash = FindWorkingFileClash(tree.catalogue, {tree.workingFile});
        if (clash)
            state.SkipWithError("unexpected clash");
        benchmark::DoNotOptimize(clash);
    }
}
BENCHMARK(BM_WorkingFileGuard)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The last program's picture is the working file: its folder's paths are asked one by one.
void BM_WorkingFileGuardClash(benchmark::State& state)
{
    GuardTree& tree = TreeOf(static_cast<int>(state.range(0)));
    const std::string picture = PictureFileFor(tree.catalogue.ProgramList.back().FileUrl);
    std::filesystem::create_hard_link(tree.workingFile, picture);
    for (auto _ : state) {
        auto clash = FindWorkingFileClash(tree.catalogue, {tree.workingFile});
        if (!clash)
            state.SkipWithError("clash not found");
        benchmark::DoNotOptimize(clash);
    }
    std::filesystem::remove(picture);
}
BENCHMARK(BM_WorkingFileGuardClash)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The reference: the identity of every image, picture, box cover and document asked of
// the system, path by path.
void BM_IdentityOfEveryPath(benchmark::State& state)
{
    GuardTree& tree = TreeOf(static_cast<int>(state.range(0)));
    const std::optional<DeviceInode> working = IdentityOf(tree.workingFile);
    for (auto _ : state) {
        int found = 0;
        for (const ProgramRecord& p : tree.catalogue.ProgramList) {
            found += IdentityOf(p.FileUrl) == working;
            found += IdentityOf(PictureFileFor(p.FileUrl)) == working;
            found += IdentityOf(BoxCoverFileFor(p.FileUrl)) == working;
            for (const std::string& url : p.DocLinkUrls)
                found += IdentityOf(url) == working;
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_IdentityOfEveryPath)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
