// Every catalogue operation on generated catalogues of six shapes at several sizes, to show
// that each grows linearly (or n log n) whatever the texts look like:
//   ordinary         names and publishers as MakeBenchCatalogue makes them
//   shared-prefix    every name starts with the same 40 bytes, then a number
//   same-name        every program has the same name
//   own-publisher    every program has a publisher of its own
//   long-names       names of 200 bytes
//   non-ascii        names in UTF-8 with accented letters, a quarter in Windows-1252
// Sizes come from VORBIX_BENCH_SIZES (default "10000,100000,1000000"). Run through
// scripts/bench.sh, which also writes the plot.

#include "browsing/ProgramListModel.h"
#include "catalogue/Main_LoadSaveUnit.h"
#include "reports/Main_ReportsUnit.h"
#include "support/BenchCatalogue.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace vorbix;

namespace {

// The catalogue of one shape and size, in memory and as an application folder. One is kept
// at a time: the benchmarks run in registration order, size by size and shape by shape.
struct Subject {
    int shape = -1;
    int programs = 0;
    std::unique_ptr<Catalogue> catalogue;
    std::string appDir;
    long long programsBytes = 0;

    Subject() = default;
    Subject(const Subject&) = delete;
    Subject& operator=(const Subject&) = delete;
    ~Subject()
    {
        if (!appDir.empty())
            std::filesystem::remove_all(appDir);
    }
};

Subject& SubjectFor(int shape, int programs)
{
    // The folder of the last one goes when the program ends, with the static.
    static Subject subject;
    if (subject.shape != shape || subject.programs != programs) {
        if (!subject.appDir.empty())
            std::filesystem::remove_all(subject.appDir);
        subject.appDir.clear();
        subject.catalogue.reset();
        subject.shape = shape;
        subject.programs = programs;
        subject.catalogue = std::make_unique<Catalogue>(bench::MakeShapedCatalogue(shape, programs));
        subject.appDir = bench::MakeTempFolder();
        subject.programsBytes = bench::WriteBenchAppDir(*subject.catalogue, subject.appDir);
    }
    return subject;
}

void Load(benchmark::State& state, int shape, int programs)
{
    Subject& s = SubjectFor(shape, programs);
    bench::SilentPrompts prompts;
    for (auto _ : state) {
        auto c = std::make_unique<Catalogue>();
        c->AppDir = s.appDir;
        if (!LoadCatalogue(*c, prompts))
            state.SkipWithError("the catalogue did not load");
        state.PauseTiming();
        c.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = static_cast<double>(s.programsBytes) / 1e6;
}

// The reference for Load: a DOM parse of the same programs file by pugixml, which reads the
// file into one buffer and parses it in place. The document is freed outside the timing, as
// Load's catalogue is.
void LoadPugixml(benchmark::State& state, int shape, int programs)
{
    Subject& s = SubjectFor(shape, programs);
    const std::string path = s.appDir + kProgramsFile;
    for (auto _ : state) {
        auto document = std::make_unique<pugi::xml_document>();
        if (!document->load_file(path.c_str()))
            state.SkipWithError("pugixml could not parse the programs file");
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = static_cast<double>(s.programsBytes) / 1e6;
}

// The peak memory of a load. Peak resident memory is a figure of the whole process, and
// this one holds the catalogues it measures, so the load runs in a process of its own
// (bench_load_memory, beside this program) that does nothing else. peak_MB is that
// process's peak, base_MB its peak before the load, peak_per_file_MB the peak over the size
// of the programs file.
void LoadPeakMemory(benchmark::State& state, int shape, int programs)
{
    Subject& s = SubjectFor(shape, programs);
    const std::string tool =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "bench_load_memory").string();
    long long fileBytes = -1;
    long long before = -1;
    long long peak = -1;
    for (auto _ : state) {
        const std::string command = "'" + tool + "' '" + s.appDir + "'";
        FILE* out = ::popen(command.c_str(), "r");
        if (out == nullptr) {
            state.SkipWithError("cannot start bench_load_memory");
            break;
        }
        char line[512] = {};
        const bool read = std::fgets(line, sizeof line, out) != nullptr;
        const int status = ::pclose(out);
        if (!read || status != 0
            || std::sscanf(line, "programs_file_bytes=%lld rss_before_bytes=%lld peak_rss_bytes=%lld", &fileBytes,
                   &before, &peak)
                != 3) {
            state.SkipWithError("bench_load_memory failed");
            break;
        }
    }
    state.counters["file_MB"] = static_cast<double>(fileBytes) / 1e6;
    state.counters["base_MB"] = static_cast<double>(before) / 1e6;
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
    state.counters["peak_per_file"] = fileBytes > 0 ? static_cast<double>(peak) / static_cast<double>(fileBytes) : 0;
}

void Save(benchmark::State& state, int shape, int programs)
{
    Subject& s = SubjectFor(shape, programs);
    for (auto _ : state)
        if (const Result<SavedFiles> r = SaveCatalogue(*s.catalogue, false); !r)
            state.SkipWithError(r.Message().c_str());
}

// A list rebuilt with the ranks of the last rebuild kept (a filter change or a header
// click), or by a new model that ranks every text first (the first showing, or a rebuild
// after the catalogue changed).
void Rebuild(benchmark::State& state, int shape, int programs, ListColumn column, int direction, bool first)
{
    Subject& s = SubjectFor(shape, programs);
    auto model = std::make_unique<ProgramListModel>();
    model->SetSort(column, direction);
    model->Rebuild(*s.catalogue, "all");
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            model = std::make_unique<ProgramListModel>();
            model->SetSort(column, direction);
            state.ResumeTiming();
        }
        model->Rebuild(*s.catalogue, "all");
        benchmark::DoNotOptimize(model->Rows().data());
    }
}

template <typename Options, std::string (*Generate)(const Catalogue&, const Options&)>
void Report(benchmark::State& state, int shape, int programs)
{
    Subject& s = SubjectFor(shape, programs);
    const Options options;
    for (auto _ : state)
        benchmark::DoNotOptimize(Generate(*s.catalogue, options).size());
}

void LinksCheck(benchmark::State& state, int shape, int programs)
{
    Subject& s = SubjectFor(shape, programs);
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckLinks(*s.catalogue, LinksReportOptions{}).Report.size());
}

std::vector<int> Sizes()
{
    std::vector<int> sizes;
    const char* text = std::getenv("VORBIX_BENCH_SIZES");
    std::istringstream in(text != nullptr ? text : "10000,100000,1000000");
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty())
            sizes.push_back(std::stoi(item));
    return sizes;
}

} // namespace

int main(int argc, char** argv)
{
    for (int programs : Sizes()) {
        for (int shape = 0; shape < bench::kShapeCount; ++shape) {
            const std::string tail = std::string("/") + bench::kShapes[shape] + "/" + std::to_string(programs);
            auto add = [&](const std::string& operation, auto body) {
                // At a million programs one run takes seconds, so each is run three times
                // and the plot takes the median: this machine's figures vary between runs.
                benchmark::RegisterBenchmark((operation + tail).c_str(), body)
                    ->Unit(benchmark::kMillisecond)
                    ->MinTime(programs >= 1000000 ? 0.01 : 0.5)
                    ->Repetitions(programs >= 1000000 ? 3 : 1);
            };
            add("Load", [=](benchmark::State& st) { Load(st, shape, programs); });
            add("LoadPugixml", [=](benchmark::State& st) { LoadPugixml(st, shape, programs); });
            benchmark::RegisterBenchmark(("LoadPeakMemory" + tail).c_str(),
                [=](benchmark::State& st) { LoadPeakMemory(st, shape, programs); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
            add("Save", [=](benchmark::State& st) { Save(st, shape, programs); });
            add("ListByPublisher",
                [=](benchmark::State& st) { Rebuild(st, shape, programs, ListColumn::Publisher, 1, false); });
            add("ListByProgramDescending",
                [=](benchmark::State& st) { Rebuild(st, shape, programs, ListColumn::Program, -1, false); });
            add("ListFirstByPublisher",
                [=](benchmark::State& st) { Rebuild(st, shape, programs, ListColumn::Publisher, 1, true); });
            add("ProgramsReport",
                [=](benchmark::State& st) { Report<ProgramsReportOptions, ProgramsReportBytes>(st, shape, programs); });
            add("CompatibilityReport", [=](benchmark::State& st) {
                Report<CompatibilityReportOptions, CompatibilityReportBytes>(st, shape, programs);
            });
            add("LinksReport",
                [=](benchmark::State& st) { Report<LinksReportOptions, LinksReportBytes>(st, shape, programs); });
            add("LinksCheck", [=](benchmark::State& st) { LinksCheck(st, shape, programs); });
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
