// Building and sorting the program list, and producing the three reports, on a catalogue
// of 100,000 programs over 500 publishers.

#include "browsing/ProgramListModel.h"
#include "reports/Main_ReportsUnit.h"
#include "support/BenchCatalogue.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vorbix;

const Catalogue& BigCatalogue()
{
    static const Catalogue catalogue = bench::MakeBenchCatalogue(100000, 500);
    return catalogue;
}

void BM_ProgramListRebuild(benchmark::State& state)
{
    const Catalogue& catalogue = BigCatalogue();
    ProgramListModel model;
    model.SetSort(static_cast<int>(state.range(0)), 1);
    for (auto _ : state) {
        model.Rebuild(catalogue, "all");
        benchmark::DoNotOptimize(model.Rows().data());
    }
    state.counters["rows"] = model.RowCount();
}
BENCHMARK(BM_ProgramListRebuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ProgramsReport(benchmark::State& state)
{
    const Catalogue& catalogue = BigCatalogue();
    ProgramsReportOptions options;
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = ProgramsReportBytes(catalogue, options).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ProgramsReport)->Unit(benchmark::kMillisecond);

void BM_CompatibilityReport(benchmark::State& state)
{
    const Catalogue& catalogue = BigCatalogue();
    CompatibilityReportOptions options;
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = CompatibilityReportBytes(catalogue, options).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CompatibilityReport)->Unit(benchmark::kMillisecond);

void BM_LinksReport(benchmark::State& state)
{
    const Catalogue& catalogue = BigCatalogue();
    LinksReportOptions options;
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = LinksReportBytes(catalogue, options).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LinksReport)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
