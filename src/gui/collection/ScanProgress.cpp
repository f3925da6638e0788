#include "collection/ScanProgress.h"

#include "mainwindow/TextBytes.h"

#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <thread>

namespace vorbix::gui {

namespace {

// What the scan's thread tells the window's thread; plain atomics, read by a timer.
class SharedControl : public ScanControl {
public:
    bool Cancelled() const override { return cancel.load(std::memory_order_relaxed); }
    void Progress(ScanStage scanStage, std::size_t scanDone, std::size_t scanTotal) override
    {
        stage.store(scanStage, std::memory_order_relaxed);
        done.store(scanDone, std::memory_order_relaxed);
        total.store(scanTotal, std::memory_order_relaxed);
    }

    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    std::atomic<ScanStage> stage{ScanStage::Catalogue};
    std::atomic<std::size_t> done{0};
    std::atomic<std::size_t> total{0};
};

QString StageText(ScanStage stage, std::size_t done, std::size_t total)
{
    switch (stage) {
    case ScanStage::Catalogue: return QStringLiteral("Looking at the catalogue's images...");
    case ScanStage::Folders: return QStringLiteral("Looking for images: %1 found...").arg(done);
    case ScanStage::Images: return QStringLiteral("Naming image %1 of %2...").arg(done + 1).arg(total);
    }
    return {};
}

void ShowProgress(QProgressDialog& dialog, const SharedControl& control)
{
    const ScanStage stage = control.stage.load(std::memory_order_relaxed);
    const std::size_t done = control.done.load(std::memory_order_relaxed);
    const std::size_t total = control.total.load(std::memory_order_relaxed);
    dialog.setLabelText(StageText(stage, done, total));
    // While the folders are walked the total is not known: the bar shows that it is busy.
    if (total == 0 || stage == ScanStage::Folders) {
        dialog.setRange(0, 0);
    } else {
        dialog.setRange(0, static_cast<int>(std::min<std::size_t>(total, 1u << 30)));
        dialog.setValue(static_cast<int>(std::min(done, total)));
    }
}

} // namespace

std::optional<FolderScanResult> ScanWithProgress(QWidget* parent, const std::string& folder,
    const ScanCatalogue& catalogue, const ChecksumLists& lists)
{
    QProgressDialog dialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    dialog.setObjectName("ScanProgress");
    dialog.setWindowTitle(QStringLiteral("Add Folder"));
    dialog.setLabelText(QStringLiteral("Looking in %1...").arg(ShownText(folder)));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumWidth(420);
    dialog.setRange(0, 0);

    SharedControl control;
    FolderScanResult result;
    std::thread worker([&] {
        result = ScanFolder(folder, catalogue, lists, control);
        control.finished.store(true, std::memory_order_release);
    });
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, &dialog, [&] {
        if (control.finished.load(std::memory_order_acquire))
            dialog.accept();
        else
            ShowProgress(dialog, control);
    });
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog,
        [&] { control.cancel.store(true, std::memory_order_relaxed); });
    timer.start();
    const bool finished = dialog.exec() == QDialog::Accepted;
    control.cancel.store(!finished, std::memory_order_relaxed);
    worker.join();
    if (!finished)
        return std::nullopt;
    return result;
}

} // namespace vorbix::gui
