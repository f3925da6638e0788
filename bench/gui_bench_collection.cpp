// Add Folder in the window, offscreen: from the command's start on a folder of 10,000
// images (100 publisher folders, half of the names in the TOSEC form) to the preview shown
// with every row, its table painted: the scan on its thread behind the progress bar, the
// hand-back and the filling of the rows. No checksum list is chosen.

#include "catalogue/Catalogue.h"
#include "collection/AddFolderUnit.h"
#include "platform/FileSystem.h"
#include "support/BenchCatalogue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTableWidget>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace vorbix;

namespace {

constexpr int kImages = 10000;

struct Images {
    std::string root = bench::MakeTempFolder();
    Images()
    {
        for (int i = 0; i < kImages; ++i) {
            const std::string folder = root + "Publisher " + std::to_string(i % 100) + "/";
            ForceDirectories(folder);
            const std::string name = i % 2 == 0 ? "Game " + std::to_string(i) + " (1985)(Publisher)[a].ssd"
                                                : "GameNumber" + std::to_string(i) + ".SSD";
            (void)WriteFileAtomic(folder + name, std::string(1024, 'x'));
        }
    }
    ~Images() { std::filesystem::remove_all(root); }
};

// Notes the first paint of a widget after it is armed.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && armed && !painted) {
            painted = true;
            elapsed = clock.nsecsElapsed();
        }
        return false;
    }
    QElapsedTimer clock;
    bool armed = false;
    bool painted = false;
    qint64 elapsed = 0;
};

void AddFolderPreview(benchmark::State& state)
{
    static Images images;
    Catalogue catalogue;
    bench::SilentPrompts prompts;
    gui::TAddFolderForm form(catalogue, prompts, nullptr, "/nonexistent/");
    auto* table = form.findChild<QTableWidget*>("Table");
    for (auto _ : state) {
        FirstPaint paint(table->viewport());
        QTimer closer;
        closer.setInterval(1);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (paint.painted)
                form.reject();
        });
        closer.start();
        paint.armed = true;
        paint.clock.start();
        const auto proposals = form.Preview(images.root);
        benchmark::DoNotOptimize(proposals);
        if (table->rowCount() != kImages)
            state.SkipWithError("not every image was shown");
        state.SetIterationTime(static_cast<double>(paint.elapsed) / 1e9);
    }
    state.counters["images"] = kImages;
}

} // namespace

BENCHMARK(AddFolderPreview)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
