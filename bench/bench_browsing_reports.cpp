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
    model.SetSort(state.range(0) == 0 ? ListColumn::Publisher : ListColumn::Program, 1);
    for (auto _ : state) {
        model.Rebuild(catalogue, "all");
        benchmark::DoNotOptimize(model.Rows().data());
    }
    state.counters["rows"] = model.RowCount();
}
BENCHMARK(BM_ProgramListRebuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One report, with its default options, generated in memory again and again.
template <typename Options, std::string (*Generate)(const Catalogue&, const Options&)>
void BM_Report(benchmark::State& state)
{
    const Catalogue& catalogue = BigCatalogue();
    Options options;
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = Generate(catalogue, options).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Report<ProgramsReportOptions, ProgramsReportBytes>)
    ->Name("BM_ProgramsReport")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Report<CompatibilityReportOptions, CompatibilityReportBytes>)
    ->Name("BM_CompatibilityReport")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Report<LinksReportOptions, LinksReportBytes>)->Name("BM_LinksReport")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
