// TMainForm: the start-up sequence, the saves at "&Save", "&Exit" and the close, the help
// and About commands, launching, and the end of the run on an unexpected error.

#include "mainwindow/MainUnit.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Main_LoadSaveUnit.h"
#include "catalogue/Utilities.h"
#include "host/Shell.h"
#include "launching/DroppedFiles.h"
#include "launching/EmulatorEnd.h"
#include "launching/LaunchProgram.h"
#include "mainwindow/DetailsPanel.h"
#include "mainwindow/ExitUnit.h"
#include "mainwindow/HelpPages.h"
#include "mainwindow/ProgramListView.h"
#include "mainwindow/ProgramTableModel.h"
#include "mainwindow/SplashUnit.h"
#include "mainwindow/TextBytes.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/CatalogueLock.h"
#include "platform/FileSystem.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace vorbix::gui {

void TMainForm::setVisible(bool visible)
{
    if (visible && !started_) {
        started_ = true;
        FormShow();
        if (ended_)
            return; // an unexpected error during start-up ended the run
        // Where the user left it at the end of the last run, else centred on the desktop.
        if (const QScreen* desktop = screen(); !RestoreWindowPlacement() && desktop != nullptr)
            move(desktop->availableGeometry().center() - QRect(QPoint(), frameGeometry().size()).center());
        // From the message loop, so that the window is on screen before a launch or a
        // question about the file.
        if (!filesToOpen_.empty())
            openTimer_->start(0);
    }
    QMainWindow::setVisible(visible);
}

void TMainForm::FormShow()
{
    const BusyScope busy(busy_);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TimePoint earliestEnd = Now() + splashMinimum_;
    splashForm_->ShowAsSplash();
    splashForm_->show();
    splashForm_->repaint();
    // A new window is drawn only once the window system has mapped it; without this the
    // splash stays blank (or absent) for as long as the load takes.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (ended_)
        return; // an unexpected error arrived meanwhile; the handler has ended the run

    listModel_->Rows().SetSort(ListColumn::Publisher, 1);
    NoteDialogTime();
    catalogue_.ProgramsChanged = false;
    LoadCatalogueWithSplash();
    if (ended_)
        return;

    // Copies: setting a selector changes the catalogue's text as it goes.
    const std::string lastFilter = catalogue_.LastFilter;
    const std::string lastEmu = catalogue_.LastEmu;
    SetText(ComboBox1, lastFilter);
    SetText(ComboBox2, lastEmu);
    PageControl1->ShowTab(DetailsTab::Picture);
    FillSelectors();
    RefillProgramList();
    UpdateCommandStates();
    ComboBox1->lineEdit()->setCursorPosition(0); // a long name shows its beginning
    ComboBox2->lineEdit()->setCursorPosition(0);
    ListView1->setFocus();

    catalogue_.DfsRomsPresent = DfsRomsPresentIn(catalogue_);
    PrepareForms();

    WaitUntil(earliestEnd);
    splashForm_->hide();
    QApplication::restoreOverrideCursor();
}

void TMainForm::LoadCatalogueWithSplash()
{
    // The status line changes after every program; painting it each time would cost more
    // than the load itself, so it is painted at most every 40 ms (and once at the end).
    auto lastPaint = std::chrono::steady_clock::now();
    std::string lastLine;
    const auto progress = [&](const std::string& line) {
        lastLine = line;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastPaint >= std::chrono::milliseconds(40)) {
            lastPaint = now;
            splashForm_->SetStatusLine(line);
        }
    };
    // The window saves later, so a damaged file is copied aside now, before it could be replaced.
    const Result<CatalogueSource> loaded = vorbix::LoadCatalogue(catalogue_, prompts_, progress, loadAccess_, *writer_);
    if (!lastLine.empty())
        splashForm_->SetStatusLine(lastLine);
    // A catalogue that cannot be read ends the run without saving, through the handler
    // of unexpected errors.
    if (!loaded)
        EndWithoutSaving(loaded.Message());
}

void TMainForm::WaitUntil(TimePoint deadline)
{
    // Events are handled every 10 ms; the last sleep ends at the deadline, so the splash
    // does not stand longer than it must.
    for (TimePoint now = Now(); now < deadline && !ended_; now = Now()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Now());
        if (left.count() > 0)
            QThread::msleep(static_cast<unsigned long>(std::min<long long>(left.count(), 10)));
    }
}

bool TMainForm::SaveCatalogue(bool atExit)
{
    const BusyScope busy(busy_);
    // A window started on a folder without "Data" makes it now, and takes its lock with it.
    if (lock_ != nullptr) {
        if (Status held = lock_->HoldData(); !held) {
            ShowErrorBox(held.Message());
            return false;
        }
    }
    // A question about a file changed outside Vorbix is asked over the window, not behind
    // the exit window.
    const bool showExitForm = atExit && catalogue_.ProgramsChanged && !SaveWouldAsk(catalogue_, atExit);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (showExitForm) {
        hide();
        exitForm_->ShowNow();
    }
    const Result<SavedFiles> saved = vorbix::SaveCatalogue(catalogue_, atExit, *writer_, &prompts_);
    QApplication::restoreOverrideCursor();
    if (showExitForm)
        exitForm_->hide();
    if (!saved) {
        ShowErrorBox(saved.Message());
        return false;
    }
    if (saved.Value().Declined)
        return false;
    for (const std::string& notice : saved.Value().Notices)
        prompts_.ShowMessage(notice);
    return true;
}

// A failed save at the end asks whether to quit anyway; No keeps the window and the data.
bool TMainForm::SaveAtExit()
{
    if (SaveCatalogue(true))
        return true;
    if (prompts_.ConfirmDestructive("Quit without saving?"))
        return true;
    if (!isVisible())
        QMainWindow::setVisible(true);
    return false;
}

void TMainForm::Save1Click()
{
    if (SaveCatalogue(false))
        catalogue_.ProgramsChanged = false;
}

void TMainForm::Exit1Click()
{
    SaveWindowPlacement();
    if (!SaveAtExit())
        return;
    ended_ = true;
    // exit() rather than quit(): quit() would close the windows first and so run the
    // close handler's save a second time.
    QApplication::exit(0);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!ended_)
        SaveWindowPlacement();
    if (ended_ || SaveAtExit()) {
        ended_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void TMainForm::EndWithoutSaving(const std::string& message)
{
    // An error during start-up leaves the splash and the busy pointer up; the box must not
    // stand behind the one or under the other.
    splashForm_->hide();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    prompts_.ShowMessageBox({"Vorbix", UnexpectedErrorText(message), MessageIcon::Stop, MessageButtons::Ok});
    ended_ = true;
    endedByError_ = true;
    QApplication::exit(1);
}

void TMainForm::ShowErrorBox(const std::string& text)
{
    prompts_.ShowErrorBox(text);
}

void TMainForm::LaunchProgram(LaunchMode mode)
{
    LaunchInput input;
    input.SelectorText = EmulatorText();
    input.SelectorEntries = EmulatorSelectorItems();
    input.Mode = mode;
    input.SelectedPIdx = SelectedPIdx();
    ApplyLaunchResult(vorbix::LaunchProgram(input, catalogue_, prompts_, shell_));
}

void TMainForm::ApplyChange(const CatalogueChange& change)
{
    if (change.Emulators || change.Filters)
        FillSelectors();
    if (change.Emulators && !IsEntryIgnoringCase(EmulatorSelectorItems(), EmulatorText()))
        SetText(ComboBox2, "");
    // RebuildRows puts a filter text that is no entry back to "all".
    const bool rebuild = change.RebuildProgramList || change.Filters;
    if (rebuild)
        RebuildRows();
    if (change.RevealRow) {
        RevealListRow(*change.RevealRow);
    } else if (rebuild && change.RevealPIdx >= 0) {
        const int row = listModel_->Rows().RowOfPIdx(change.RevealPIdx);
        if (row >= 0)
            RevealListRow(row); // a program the filter hides keeps the rebuild's first row
    }
    if (rebuild || change.Programs || change.Emulators)
        RefreshDetails(); // also updates the command states
}

void TMainForm::ApplyLaunchResult(const LaunchResult& result)
{
    if (result.ClearSelectorText)
        SetText(ComboBox2, "");
    if (result.RefreshDetails)
        RefreshDetailsWithNewPicture();
    if (result.UpdateCommandStates || result.ClearSelectorText)
        UpdateCommandStates();
    if (result.UnwatchedPid > 0)
        WatchEarlyFailure(result.UnwatchedPid, result.EmulatorName);
}

// An emulator started without the "Press OK" box may still give up soon after its start
// (a missing ROM, a switch it does not know): the window looks a little longer than the
// time within which such a failure is told, and tells it.
void TMainForm::WatchEarlyFailure(int pid, const std::string& emuName)
{
    auto* timer = new QTimer(this);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(31);
    connect(timer, &QTimer::timeout, this, [this, timer, pid, emuName, giveUp] {
        const std::optional<ProcessEnd> end = shell_.ProcessEnded(pid);
        if (!end && std::chrono::steady_clock::now() < giveUp)
            return;
        timer->stop();
        timer->deleteLater();
        if (FailureToTell(end, false))
            ShowErrorBox(EmulatorFailureMessage(emuName, *end));
    });
    timer->start(250);
}

void TMainForm::Contents1Click()
{
    RunDialog([this] { OpenDocumentLink(HelpPagePath(catalogue_, "INDEX.HTM"), prompts_, shell_); });
}

void TMainForm::About1Click()
{
    splashForm_->ShowAsAbout();
    RunDialog([this] { return splashForm_->exec(); });
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

// Only the first item of a drop counts. A web address (a link dragged from a browser) names
// no file here, and is refused as any other file the window does not take.
void TMainForm::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    if (urls.isEmpty())
        return;
    if (!urls.front().isLocalFile()) {
        RefuseDrop(prompts_);
        return;
    }
    std::vector<std::string> files;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    HandleDroppedFiles(files, DropOrigin::Mouse);
}

void TMainForm::OpenAfterStartUp(std::vector<std::string> files)
{
    if (!files.empty())
        filesToOpen_.push_front(std::move(files));
}

void TMainForm::OpenHandedFiles(const std::vector<std::string>& files)
{
    if (ended_)
        return;
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (files.empty())
        return;
    filesToOpen_.push_back(files);
    if (started_)
        openTimer_->start(0);
}

void TMainForm::OpenWaitingFiles()
{
    // Not inside the start-up or a save, and not while a dialog, a box or a menu is open: a
    // launch waiting in "Press OK after running emulator" is such a box.
    const bool idle = started_ && !ended_ && busy_ == 0 && isVisible() && QApplication::activeModalWidget() == nullptr
        && QApplication::activePopupWidget() == nullptr;
    if (ended_ || filesToOpen_.empty()) {
        openTimer_->stop();
        return;
    }
    if (!idle) {
        openTimer_->start(100);
        return;
    }
    const std::vector<std::string> files = std::move(filesToOpen_.front());
    filesToOpen_.pop_front();
    openTimer_->start(0); // the next ones, once this drop has been handled
    HandleDroppedFiles(files, DropOrigin::Handed);
}

void TMainForm::HandleDroppedFiles(const std::vector<std::string>& files, DropOrigin origin)
{
    DropInput input;
    input.Files = files;
    input.SelectorText = EmulatorText();
    input.SelectorEntries = EmulatorSelectorItems();
    input.SelectedPIdx = SelectedPIdx();
    input.ShownTab = PageControl1->ShownTab();
    input.Origin = origin;
    const DropResult result = vorbix::HandleDroppedFiles(input, catalogue_, prompts_, shell_);
    if (result.Launched)
        ApplyLaunchResult(result.Launch);
    if (result.RefreshDetails)
        RefreshDetailsWithNewPicture();
    if (result.OpenProgramEditor)
        NewProgram(result.NewProgramPath);
}

} // namespace vorbix::gui
