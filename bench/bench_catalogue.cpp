// Loading and saving a generated catalogue of 100,000 programs over 500 publishers,
// against pugixml's parse of the same programs file, with the peak memory of a load.

#include "catalogue/Main_LoadSaveUnit.h"
#include "host/Prompts.h"
#include "support/BenchCatalogue.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <memory>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorbix;

namespace {

struct BenchFolder {
    std::string appDir;
    long long programsBytes = 0;
};

const BenchFolder& Folder()
{
    static const BenchFolder folder = [] {
        BenchFolder f;
        f.appDir = bench::MakeTempFolder();
        Catalogue c = bench::MakeBenchCatalogue(100000, 500);
        f.programsBytes = bench::WriteBenchAppDir(c, f.appDir);
        return f;
    }();
    return folder;
}

void BM_LoadCatalogue(benchmark::State& state)
{
    bench::SilentPrompts prompts;
    for (auto _ : state) {
        auto c = std::make_unique<Catalogue>();
        c->AppDir = Folder().appDir;
        if (!LoadCatalogue(*c, prompts))
            state.SkipWithError("the catalogue did not load");
        benchmark::DoNotOptimize(c->ProgramList.data());
        // Freeing the catalogue is not part of loading it.
        state.PauseTiming();
        c.reset();
        state.ResumeTiming();
    }
    state.counters["programs_MB"] = static_cast<double>(Folder().programsBytes) / 1e6;
}

void BM_PugixmlParseProgramsFile(benchmark::State& state)
{
    const std::string path = Folder().appDir + kProgramsFile;
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_file(path.c_str()));
    }
}

void BM_SaveCatalogue(benchmark::State& state)
{
    bench::SilentPrompts prompts;
    Catalogue c;
    c.AppDir = Folder().appDir;
    if (!LoadCatalogue(c, prompts))
        state.SkipWithError("the catalogue did not load");
    for (auto _ : state) {
        const Result<SavedFiles> r = SaveCatalogue(c, false);
        if (!r)
            state.SkipWithError(r.Message().c_str());
    }
}

// Peak resident memory of a process that does nothing but load the catalogue.
void BM_LoadPeakMemory(benchmark::State& state)
{
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0) {
            state.SkipWithError("pipe");
            return;
        }
        pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            long long before = bench::PeakRssBytes();
            bench::SilentPrompts prompts;
            Catalogue c;
            c.AppDir = Folder().appDir;
            (void)LoadCatalogue(c, prompts);
            long long peak[2] = {before, bench::PeakRssBytes()};
            (void)!::write(fds[1], peak, sizeof peak);
            ::_exit(0);
        }
        ::close(fds[1]);
        long long peak[2] = {0, 0};
        (void)!::read(fds[0], peak, sizeof peak);
        ::close(fds[0]);
        ::waitpid(child, nullptr, 0);
        state.counters["peak_MB"] = static_cast<double>(peak[1]) / 1e6;
        state.counters["peak_over_file"] = static_cast<double>(peak[1]) / static_cast<double>(Folder().programsBytes);
    }
}

} // namespace

BENCHMARK(BM_LoadCatalogue)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_PugixmlParseProgramsFile)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_SaveCatalogue)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_LoadPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
