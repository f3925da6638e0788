// Bringing a collection in: scanning a folder of 10,000 images for Add Folder (without
// lists, and with a checksum list that knows a tenth of them), the checksums of every image
// against `sha1sum` over the same files (page cache warm), and moving a catalogue of
// 100,000 programs from a Windows folder.

#include "collection/FolderScan.h"
#include "collection/ImageMatching.h"
#include "collection/Relocate.h"
#include "platform/FileSystem.h"
#include "support/BenchCatalogue.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

namespace {

using namespace vorbix;

constexpr int kImages = 10000;

// 10,000 images in 100 publisher folders, named half in the TOSEC form, of the sizes DFS
// discs come in (trimmed after their data, or padded with zeros to 100 or 200 KB).
struct ImageTree {
    std::string root = bench::MakeTempFolder();
    std::vector<std::string> paths;
    std::uint64_t bytes = 0;
    ChecksumLists lists;

    ImageTree()
    {
        std::mt19937 random(42);
        std::string datafile = "<datafile>";
        for (int i = 0; i < kImages; ++i) {
            const std::string folder = root + "Publisher " + std::to_string(i % 100) + "/";
            const std::string name = i % 2 == 0 ? "Game " + std::to_string(i) + " (1985)(Publisher)[a].ssd"
                                                : "GameNumber" + std::to_string(i) + ".SSD";
            const std::size_t used = 2560 + random() % (60 * 1024);
            const std::size_t size = i % 3 == 0 ? used : (i % 3 == 1 ? 102400 : 204800);
            std::string image(size, '\0');
            for (std::size_t b = 0; b < used; ++b)
                image[b] = static_cast<char>(random());
            ForceDirectories(folder);
            (void)WriteFileAtomic(folder + name, image);
            paths.push_back(folder + name);
            bytes += size;
            if (i % 10 == 0) {
                char crc[9];
                std::snprintf(crc, sizeof crc, "%08x", Crc32Of(image));
                datafile += "<game name=\"Listed " + std::to_string(i) + " (1985)(Pub)\"><rom name=\"x\" size=\""
                    + std::to_string(size) + "\" crc=\"" + crc + "\"/></game>";
            }
        }
        (void)lists.AddText(datafile + "</datafile>", "bench.dat");
    }
    ~ImageTree() { std::filesystem::remove_all(root); }
};

ImageTree& Tree()
{
    static ImageTree tree;
    return tree;
}

void Scan(benchmark::State& state, bool withLists)
{
    ImageTree& tree = Tree();
    const ScanCatalogue catalogue;
    const ChecksumLists none;
    ScanControl control;
    for (auto _ : state) {
        FolderScanResult result = ScanFolder(tree.root, catalogue, withLists ? tree.lists : none, control);
        if (result.Proposals.size() != kImages)
            state.SkipWithError("not every image was proposed");
        benchmark::DoNotOptimize(result);
    }
    state.counters["images"] = kImages;
}

void AddFolderScan(benchmark::State& state)
{
    Scan(state, false);
}

void AddFolderScanWithList(benchmark::State& state)
{
    Scan(state, true);
    state.counters["bytes_per_second"] =
        benchmark::Counter(static_cast<double>(Tree().bytes), benchmark::Counter::kIsIterationInvariantRate);
}

// The CRC-32 and SHA-1 of every image, read as the scan reads them: what the scan costs at
// most, were every image's size and CRC in a list.
void ChecksumEveryImage(benchmark::State& state)
{
    ImageTree& tree = Tree();
    for (auto _ : state) {
        for (const std::string& path : tree.paths) {
            Result<std::string> bytes = ReadFileBytes(path);
            benchmark::DoNotOptimize(Crc32Of(bytes.Value()));
            benchmark::DoNotOptimize(Sha1Of(bytes.Value()));
        }
    }
    state.counters["bytes_per_second"] =
        benchmark::Counter(static_cast<double>(tree.bytes), benchmark::Counter::kIsIterationInvariantRate);
}

// `sha1sum` over the same files, by folder (100 processes of 100 files), as a reference.
void Sha1sumReference(benchmark::State& state)
{
    ImageTree& tree = Tree();
    for (auto _ : state) {
        const std::string command =
            "cd '" + tree.root + "' && for d in Publisher*; do sha1sum \"$d\"/* >/dev/null; done";
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sha1sum failed");
    }
    state.counters["bytes_per_second"] =
        benchmark::Counter(static_cast<double>(tree.bytes), benchmark::Counter::kIsIterationInvariantRate);
}

// A catalogue of 100,000 programs kept on Windows, moved to a Linux folder: the plan (with
// a look at each new path) and its changes made.
void RelocateCatalogue(benchmark::State& state)
{
    Catalogue original = bench::MakeBenchCatalogue(static_cast<int>(state.range(0)), 500);
    for (ProgramRecord& program : original.ProgramList) {
        program.FileUrl = "C:\\Games\\" + program.FileUrl.substr(std::string("/home/user/").size());
        for (std::string& url : program.DocLinkUrls)
            url = "C:\\Games\\" + url.substr(std::string("/home/user/").size());
    }
    std::size_t moved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Catalogue catalogue = original;
        state.ResumeTiming();
        const std::vector<Relocation> plan = PlanRelocation(catalogue, "c:\\games", "/srv/beeb/");
        ApplyRelocation(catalogue, plan);
        moved = plan.size();
    }
    state.counters["paths"] = static_cast<double>(moved);
}

} // namespace

BENCHMARK(AddFolderScan)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(AddFolderScanWithList)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ChecksumEveryImage)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Sha1sumReference)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(RelocateCatalogue)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
