// The main window on a generated catalogue of 100,000 programs: start-up until the window
// is shown (the splash's minimum time set to zero, so the figure is what start-up adds to
// it), and rebuilding the list when the filter selector changes.

#include "host/Prompts.h"
#include "mainwindow/MainUnit.h"
#include "platform/Process.h"
#include "support/BenchCatalogue.h"

#include <QApplication>
#include <QComboBox>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace vorbix;

namespace {

const std::string& AppDir()
{
    static const std::string dir = [] {
        std::string d = bench::MakeTempFolder();
        Catalogue c = bench::MakeBenchCatalogue(100000, 500);
        bench::WriteBenchAppDir(c, d);
        return d;
    }();
    return dir;
}

void BM_StartUpUntilShown(benchmark::State& state)
{
    for (auto _ : state) {
        Catalogue catalogue;
        catalogue.AppDir = AppDir();
        bench::SilentPrompts prompts;
        SystemShell shell;
        auto form = std::make_unique<vorbix::gui::TMainForm>(catalogue, prompts, shell);
        form->SetSplashMinimum(std::chrono::milliseconds(0));
        form->show();
        QApplication::processEvents();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

void BM_FilterChangeRebuildsTheList(benchmark::State& state)
{
    Catalogue catalogue;
    catalogue.AppDir = AppDir();
    bench::SilentPrompts prompts;
    SystemShell shell;
    vorbix::gui::TMainForm form(catalogue, prompts, shell);
    form.SetSplashMinimum(std::chrono::milliseconds(0));
    form.show();
    auto* selector = form.findChild<QComboBox*>("ComboBox1");
    if (selector == nullptr || selector->count() < 2) {
        state.SkipWithError("no filter selector");
        return;
    }
    // Each timed step picks "all" (100,000 rows) after an untimed pick of a named filter.
    const int all = selector->findText("all");
    const int named = all == 0 ? 1 : 0;
    auto pick = [selector](int index) {
        // As a pick in the drop-down does it: the index changes, then "activated".
        selector->setCurrentIndex(index);
        emit selector->activated(index);
        QApplication::processEvents();
    };
    for (auto _ : state) {
        state.PauseTiming();
        pick(named);
        state.ResumeTiming();
        pick(all);
    }
}

} // namespace

BENCHMARK(BM_StartUpUntilShown)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FilterChangeRebuildsTheList)->Unit(benchmark::kMillisecond)->Iterations(40);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
