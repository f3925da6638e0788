// The main window on a generated catalogue, offscreen:
//   StartUpWork          constructing the window, show() and the first paint of the program
//                        list, with the splash's minimum time set to zero: all the work of
//                        start-up (the load, the selectors, the list, the first details).
//   StartUpBeyondSplash  the same with the splash's real 2 s minimum; the time reported is
//                        what the user waits beyond those 2 s, from the constructor's start
//                        to the first paint of the program list, less 2 s (never below 0).
//                        The window builds its contents while the splash stands, so this is
//                        what is left once the splash may go: hiding it, showing and painting
//                        the window, and whatever of the load and the building outlasts it.
//   FilterChange         a pick of "all" in the filter selector after an untimed pick of a
//                        named filter, until the list is painted again.
//   HeaderClick          a click on a column header (the sort order changes, the selected
//                        program stays selected), until the list is painted again.
//   TypeAheadNoHit       a letter typed in the list that no row starts with (every row is
//                        searched, by the view and by the type-ahead), until painted again.
//   FindOpen             Ctrl+F: the find field opens and every name and publisher is folded
//                        for it, until the field is painted.
//   FindKeystroke        one keystroke in the open find field, until the list is painted
//                        again: the keystrokes type "elite" and take it back with five
//                        Backspaces, in turn (each letter narrows the rows of the one
//                        before; each Backspace searches the filter's rows again). The
//                        counter worst_ms is the slowest keystroke.
// Each runs on the catalogue shapes of bench_scale (ordinary, shared-prefix, ...); the wait
// beyond the splash and the type-ahead on the ordinary one only. Sizes come from
// VORBIX_BENCH_SIZES (default "100000"; "100000,1000000" adds the large catalogue).
// Generating and writing a catalogue is never timed.

#include "host/Prompts.h"
#include "mainwindow/MainUnit.h"
#include "platform/Process.h"
#include "support/BenchCatalogue.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace vorbix;

namespace {

// The application folder of one shape and size; one is kept at a time, since the
// benchmarks run size by size and shape by shape.
const std::string& AppDir(int shape, int programs)
{
    // The folder of the last one goes when the program ends, with the static.
    struct Folder {
        std::string path;
        ~Folder()
        {
            if (!path.empty())
                std::filesystem::remove_all(path);
        }
    };
    static std::pair<int, int> current{-1, 0};
    static Folder folder;
    std::string& dir = folder.path;
    if (current != std::pair{shape, programs}) {
        if (!dir.empty())
            std::filesystem::remove_all(dir);
        dir = bench::MakeTempFolder();
        Catalogue c = bench::MakeShapedCatalogue(shape, programs);
        bench::WriteBenchAppDir(c, dir);
        current = {shape, programs};
    }
    return dir;
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Paints() const { return paints_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints_;
        return QObject::eventFilter(watched, event);
    }

private:
    int paints_ = 0;
};

// Runs the event loop until the widget has been painted once more than `before` times.
void ProcessUntilPainted(const PaintCounter& counter, int before)
{
    QApplication::processEvents();
    for (int i = 0; i < 1000 && counter.Paints() <= before; ++i)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// One window over the catalogue of the given size, with its own catalogue and services.
struct Window {
    Catalogue catalogue;
    bench::SilentPrompts prompts;
    SystemShell shell;
    std::unique_ptr<gui::TMainForm> form;
    std::unique_ptr<PaintCounter> listPaints;

    Window(int shape, int programs, std::chrono::milliseconds splash)
    {
        catalogue.AppDir = AppDir(shape, programs);
        form = std::make_unique<gui::TMainForm>(catalogue, prompts, shell);
        form->SetSplashMinimum(splash);
        listPaints = std::make_unique<PaintCounter>(form->findChild<QTreeView*>("ListView1")->viewport());
    }
    // Shows the window and waits for the first paint of the list.
    void Show()
    {
        form->show();
        ProcessUntilPainted(*listPaints, 0);
    }
};

void StartUp(benchmark::State& state, int shape, int programs, std::chrono::milliseconds splash)
{
    AppDir(shape, programs);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto window = std::make_unique<Window>(shape, programs, splash);
        window->Show();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const double beyond = seconds - static_cast<double>(splash.count()) / 1000.0;
        state.SetIterationTime(std::max(0.0, beyond));
        window.reset();
    }
}

void FilterChange(benchmark::State& state, int shape, int programs)
{
    Window window(shape, programs, std::chrono::milliseconds(0));
    window.Show();
    auto* selector = window.form->findChild<QComboBox*>("ComboBox1");
    if (selector == nullptr || selector->count() < 2) {
        state.SkipWithError("no filter selector");
        return;
    }
    const int all = selector->findText("all");
    const int named = all == 0 ? 1 : 0;
    auto pick = [&](int index) {
        // As a pick in the drop-down does it: the index changes, then "activated".
        const int before = window.listPaints->Paints();
        selector->setCurrentIndex(index);
        emit selector->activated(index);
        ProcessUntilPainted(*window.listPaints, before);
    };
    for (auto _ : state) {
        state.PauseTiming();
        pick(named);
        state.ResumeTiming();
        pick(all);
    }
}

void HeaderClick(benchmark::State& state, int shape, int programs)
{
    Window window(shape, programs, std::chrono::milliseconds(0));
    window.Show();
    QHeaderView* header = window.form->findChild<QTreeView*>("ListView1")->header();
    // A program in the middle of the list is selected, so each click re-finds it.
    auto* list = window.form->findChild<QTreeView*>("ListView1");
    list->setCurrentIndex(list->model()->index(list->model()->rowCount() / 2, 0));
    int column = 0;
    for (auto _ : state) {
        const int before = window.listPaints->Paints();
        emit header->sectionClicked(column);
        ProcessUntilPainted(*window.listPaints, before);
        column = 1 - column;
    }
}

void TypeAheadNoHit(benchmark::State& state, int shape, int programs)
{
    Window window(shape, programs, std::chrono::milliseconds(0));
    window.Show();
    auto* list = window.form->findChild<QTreeView*>("ListView1");
    list->setFocus();
    for (auto _ : state) {
        const int before = window.listPaints->Paints();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(list, &press);
        QApplication::sendEvent(list, &release);
        list->viewport()->update();
        ProcessUntilPainted(*window.listPaints, before);
    }
}

// "&Find..." (Ctrl+F), as the menu or the shortcut triggers it.
void PressFind(QWidget* form)
{
    form->findChild<QAction*>("Find1")->trigger();
}

void FindOpen(benchmark::State& state, int shape, int programs)
{
    for (auto _ : state) {
        Window window(shape, programs, std::chrono::milliseconds(0));
        window.Show();
        auto* field = window.form->findChild<QLineEdit*>("FindEdit1");
        PaintCounter fieldPaints(field);
        QElapsedTimer clock;
        clock.start();
        PressFind(window.form.get());
        ProcessUntilPainted(fieldPaints, 0);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
}

void FindKeystroke(benchmark::State& state, int shape, int programs)
{
    Window window(shape, programs, std::chrono::milliseconds(0));
    window.Show();
    PressFind(window.form.get());
    QApplication::processEvents();
    auto* field = window.form->findChild<QLineEdit*>("FindEdit1");
    const std::vector<std::pair<Qt::Key, QString>> keys = {{Qt::Key_E, "e"}, {Qt::Key_L, "l"}, {Qt::Key_I, "i"},
        {Qt::Key_T, "t"}, {Qt::Key_E, "e"}, {Qt::Key_Backspace, ""}, {Qt::Key_Backspace, ""}, {Qt::Key_Backspace, ""},
        {Qt::Key_Backspace, ""}, {Qt::Key_Backspace, ""}};
    std::size_t next = 0;
    double worst = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const int before = window.listPaints->Paints();
        const auto& [key, text] = keys[next];
        next = (next + 1) % keys.size();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(field, &press);
        QApplication::sendEvent(field, &release);
        ProcessUntilPainted(*window.listPaints, before);
        worst = std::max(worst, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    state.counters["worst_ms"] = worst;
}

std::vector<int> Sizes()
{
    std::vector<int> sizes;
    const char* text = std::getenv("VORBIX_BENCH_SIZES");
    std::istringstream in(text != nullptr ? text : "100000");
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty())
            sizes.push_back(std::stoi(item));
    return sizes;
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    for (int programs : Sizes()) {
        const bool large = programs >= 1000000;
        for (int shape = 0; shape < bench::kShapeCount; ++shape) {
            const std::string tail = std::string("/") + bench::kShapes[shape] + "/" + std::to_string(programs);
            benchmark::RegisterBenchmark(("StartUpWork" + tail).c_str(),
                [=](benchmark::State& st) { StartUp(st, shape, programs, std::chrono::milliseconds(0)); })
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime()
                ->Iterations(large ? 2 : 5);
            if (shape == 0)
                benchmark::RegisterBenchmark(("StartUpBeyondSplash" + tail).c_str(),
                    [=](benchmark::State& st) { StartUp(st, shape, programs, std::chrono::milliseconds(2000)); })
                    ->Unit(benchmark::kMillisecond)
                    ->UseManualTime()
                    ->Iterations(large ? 2 : 3);
            benchmark::RegisterBenchmark(("FilterChange" + tail).c_str(),
                [=](benchmark::State& st) { FilterChange(st, shape, programs); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(large ? 10 : 40);
            benchmark::RegisterBenchmark(("HeaderClick" + tail).c_str(),
                [=](benchmark::State& st) { HeaderClick(st, shape, programs); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(large ? 10 : 40);
            if (shape == 0 || shape == 4 || shape == 5) {
                benchmark::RegisterBenchmark(("FindOpen" + tail).c_str(),
                    [=](benchmark::State& st) { FindOpen(st, shape, programs); })
                    ->Unit(benchmark::kMillisecond)
                    ->UseManualTime()
                    ->Iterations(large ? 2 : 5);
                benchmark::RegisterBenchmark(("FindKeystroke" + tail).c_str(),
                    [=](benchmark::State& st) { FindKeystroke(st, shape, programs); })
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(large ? 20 : 40);
            }
            if (shape == 0)
                benchmark::RegisterBenchmark(("TypeAheadNoHit" + tail).c_str(),
                    [=](benchmark::State& st) { TypeAheadNoHit(st, shape, programs); })
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(large ? 10 : 40);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
