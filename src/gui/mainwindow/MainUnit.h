#pragma once
// The main window: toolbar with the filter and emulator selectors, the program list, the
// details panel, the status bar, the menus, the start-up sequence and the saves at the end.

#include "browsing/ProgramDetails.h"
#include "catalogue/Main_LoadSaveUnit.h"
#include "editing/CatalogueChange.h"
#include "launching/DroppedFiles.h"
#include "launching/LaunchProgram.h"
#include "mainwindow/CommandIcons.h"
#include "mainwindow/WindowPrompts.h"

#include <QMainWindow>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QSplitter;
class QTimer;

namespace vorbix {
struct Catalogue;
class CatalogueLock;
class FileWriter;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class DetailsPanel;
class ProgramListView;
class ProgramTableModel;
class TAddFolderForm;
class TCompatibilityReportForm;
class TEmuOptionsForm;
class TExitForm;
class TFilterOptionsForm;
class TLinksForm;
class TLinksReportForm;
class TListsForm;
class TMoveCatalogueForm;
class TOptionsForm;
class TProgramsReportForm;
class TSingleEmuOptionsForm;
class TSingleFilterOptionsForm;
class TSingleProgramOptionsForm;
class TSplashForm;

// Counts a step that lets events through before it ends (the start-up, a save), during
// which nothing else may start.
class BusyScope {
public:
    explicit BusyScope(int& depth) : depth_(depth) { ++depth_; }
    ~BusyScope() { --depth_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& depth_;
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    using TimePoint = std::chrono::system_clock::time_point;

    // Every message box of the window and of the core operations it calls goes to prompts;
    // documents, links and emulators are opened through shell, whose clock the window uses.
    TMainForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The first showing runs the start-up sequence before the window becomes visible.
    void setVisible(bool visible) override;

    // Operations of the program list and the details panel offered to other windows.
    void RefillProgramList();
    void FillSelectors();
    void UpdateCommandStates();
    void RevealListRow(int row);
    void RefreshDetails();
    // Carries out what an editing operation or a closed dialog changed: the selectors are
    // refilled after emulators or filters (an emulator text that is no entry is cleared, a
    // filter text that is no entry becomes "all"), the program list is rebuilt when asked or
    // after filters, the row asked for is revealed, and the details and command states are
    // refreshed. A dialog that was shown passes its flag even when nothing changed, so that
    // its after-close steps run.
    void ApplyChange(const CatalogueChange& change);
    // The main window's error box; its closing counts as a dialog closing.
    void ShowErrorBox(const std::string& text);
    void LaunchProgram(LaunchMode mode);
    // Files dropped on the window, in drop order (only the first is handled), by the user or
    // handed to it by a start with files.
    void HandleDroppedFiles(const std::vector<std::string>& files, DropOrigin origin);
    // The program editor's New with a file path (empty for none): on OK the program is
    // added, the list rebuilt and the new program's row revealed.
    void NewProgram(const std::string& path);
    // Add Folder: the images below the folder are scanned and shown in the preview; the
    // ticked ones are added, the list rebuilt and the first added program revealed.
    void AddFolder(const std::string& folder);
    // Files named on the command line ("Open with" from a file manager): handled as files
    // dropped on the window once the window is first shown after start-up, except that a
    // JPEG asks before it becomes the selected program's picture.
    void OpenAfterStartUp(std::vector<std::string> files);
    // Files handed over by a later start on the same folder: the window comes to the front
    // and handles them as a drop once no dialog or box is open (a launch waiting in "Press
    // OK after running emulator" included), each hand-over in turn; a JPEG asks first, as
    // above.
    void OpenHandedFiles(const std::vector<std::string>& files);
    // The file of the user's window settings: the size, place and split restored at the
    // first showing and written when the run ends by Exit or the close. A window given none
    // (a screenshot, a test) starts at the first-start size and remembers nothing.
    void UseWindowSettings(const std::string& file) { settingsFile_ = file; }
    // The catalogue's lock, held on the folder the saves create (none in tests).
    void SetCatalogueLock(CatalogueLock* lock) { lock_ = lock; }

    // The saves write through this writer (the system's until a test hands in another).
    void SetFileWriter(FileWriter& writer) { writer_ = &writer; }
    // A window that will never save (a screenshot) loads without keeping copies of damaged
    // files: it writes nothing at all.
    void LoadWithoutWriting() { loadAccess_ = vorbix::LoadAccess::ReadOnly; }

    // The splash stays at least this long at start-up (2 seconds).
    void SetSplashMinimum(std::chrono::milliseconds minimum) { splashMinimum_ = minimum; }
    TimePoint LastDialogTime() const { return lastDialogTime_; }
    // Shows the error and ends the run without saving: the handler of unexpected errors
    // during the window's run, and the end of a start-up whose load failed.
    void EndWithoutSaving(const std::string& message);
    // Whether the run is over: ended by Exit or the close, or by an unexpected error.
    bool Ended() const { return ended_; }
    bool EndedByError() const { return endedByError_; }

    TSplashForm* SplashForm() const { return splashForm_; }
    TExitForm* ExitForm() const { return exitForm_; }
    vorbix::gui::DetailsPanel* Details() const { return PageControl1; }
    // The text of the selector's entries as the window holds them.
    vorbix::StringList FilterSelectorItems() const;
    vorbix::StringList EmulatorSelectorItems() const;
    // The PIdx of the selected row, or -1.
    int SelectedPIdx() const;
    // The left side of the window, the find field over the program list, in a vertical
    // layout; what is to stand in for the list or over it goes there.
    QWidget* ListArea() const { return listArea_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Building the window.
    void CreateActions();
    QAction* AddAction(const char* name, const char* caption, const char* hint = nullptr,
        std::optional<CommandIcon> icon = std::nullopt);
    void CreateMenus();
    void CreateToolBar();
    void CreateCentralArea();
    QWidget* CreateFindBar(QWidget* parent);
    void CreateStatusBar();
    void ConnectWidgets();
    void CreateForms();

    // Handles the next files waiting to be opened when nothing else is under way.
    void OpenWaitingFiles();
    // The start-up sequence and the saves.
    void FormShow();
    void LoadCatalogueWithSplash();
    void WaitUntil(TimePoint deadline);
    bool SaveCatalogue(bool atExit);
    bool SaveAtExit();
    void ApplyLaunchResult(const vorbix::LaunchResult& result);
    void WatchEarlyFailure(int pid, const std::string& emuName);

    // Commands.
    void Save1Click();
    void Exit1Click();
    void Contents1Click();
    void About1Click();
    void New1Click();
    void Edit1Click();
    void Delete1Click();
    void AddFolder1Click();
    void MoveCatalogue1Click();
    // The first start's way in: with no program in the catalogue the list shows, in place
    // of rows, what to do first, with "Add a folder of images..." and "Set up an
    // emulator..." (Emulators, New, with the Preset menu open).
    void CreateEmptyCatalogueHint();
    void ShowEmptyCatalogueHint(bool show);
    void SetUpEmulator();
    void Categories1Click();
    void Emulators1Click();
    void Filters1Click();
    void Options1Click();
    void ProgramsReport1Click();
    void CompatibilityReport1Click();
    void LinksReport1Click();
    // What the start-up sets in the other windows once the catalogue is loaded: the image
    // captions of the emulator editor (the DFS controls read the catalogue when shown).
    void PrepareForms();

    // Program list and selectors.
    void ComboBox1Change();
    void ComboBox1Exit();
    void ComboBox2Change();
    void ComboBox2Exit();
    void ListView1Click();
    void ListView1DblClick();
    void ListView1ColumnClick(int column);
    void ListView1KeyDown(int virtualKey);
    void ListView1KeyUp(int virtualKey);
    void LinkClick(bool onEntry, const std::string& target);

    // Find as you type, and the list's own menu (MainUnitFind.cpp).
    void Find1Click();
    void FindEdit1Change();
    // Down, Enter, Return or Escape in the find field; whether the key was taken.
    bool FindEdit1KeyDown(int qtKey);
    void CloseFind();
    void ListView1ContextMenu(const QPoint& globalPos);
    void CopyPath1Click();
    void OpenContainingFolder1Click();
    // The window's size, place and split, from and to the user's settings.
    bool RestoreWindowPlacement();
    void SaveWindowPlacement();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // RefillProgramList without refreshing the details.
    void RebuildRows();
    // RefreshDetails after a picture was written beside the selected program's image: a
    // damaged one is reported although the selection stayed.
    void RefreshDetailsWithNewPicture();
    void ShowStatus(const vorbix::StatusPanels& panels);
    void SetCommandEnabled(QAction* action, bool enabled);
    std::string FilterText() const;
    std::string EmulatorText() const;
    TimePoint Now() const;
    // The program list's Enter waits 300 ms after this moment: a dialog or box of the
    // window closed (the Enter that closed it must not reach the list), the splash came up,
    // or Enter started a launch.
    void NoteDialogTime();
    // Runs a dialog of the window, or a command that may show one, and notes when it ended.
    template <typename Show>
    auto RunDialog(Show show) -> decltype(show());

    vorbix::Catalogue& catalogue_;
    vorbix::Shell& shell_;
    vorbix::FileWriter* writer_;
    vorbix::gui::WindowPrompts prompts_;

    QAction *Save1, *ProgramsReport1, *CompatibilityReport1, *LinksReport1, *Exit1;
    QAction *RunProgram1, *RunEmulator1, *New1, *Edit1, *Delete1, *AddFolder1, *MoveCatalogue1;
    QAction *Categories1, *Emulators1, *Filters1, *Options1, *Contents1, *About1;
    QAction* Find1;

    QComboBox* ComboBox1 = nullptr; // filter selector
    QComboBox* ComboBox2 = nullptr; // emulator selector
    vorbix::gui::ProgramListView* ListView1 = nullptr;
    vorbix::gui::ProgramTableModel* listModel_ = nullptr;
    vorbix::gui::DetailsPanel* PageControl1 = nullptr;
    QSplitter* Splitter1 = nullptr; // the list area | the details panel
    QWidget* listArea_ = nullptr;
    QWidget* FindBar1 = nullptr;
    QLineEdit* FindEdit1 = nullptr;
    std::string settingsFile_;
    QLabel* statusPanels_[5] = {};

    // Every other window, created with the main window and living until the end.
    TEmuOptionsForm* emuOptionsForm_ = nullptr;
    TSingleEmuOptionsForm* singleEmuOptionsForm_ = nullptr;
    TListsForm* listsForm_ = nullptr;
    TSingleProgramOptionsForm* singleProgramOptionsForm_ = nullptr;
    TLinksForm* linksForm_ = nullptr;
    TFilterOptionsForm* filterOptionsForm_ = nullptr;
    TSingleFilterOptionsForm* singleFilterOptionsForm_ = nullptr;
    TOptionsForm* optionsForm_ = nullptr;
    TLinksReportForm* linksReportForm_ = nullptr;
    TProgramsReportForm* programsReportForm_ = nullptr;
    TCompatibilityReportForm* compatibilityReportForm_ = nullptr;
    TAddFolderForm* addFolderForm_ = nullptr;
    TMoveCatalogueForm* moveCatalogueForm_ = nullptr;
    QWidget* emptyHint_ = nullptr;
    QTimer* setUpTimer_ = nullptr; // presses the emulator list's New once it stands
    TSplashForm* splashForm_ = nullptr;
    TExitForm* exitForm_ = nullptr;

    int keyDownTopRow_ = 0;
    int keyDownSelRow_ = 0;
    // The program whose details were last shown (its PIdx and image file): its damaged
    // pictures have been reported, and are not again while it stays selected.
    std::optional<std::pair<int, std::string>> detailsShownFor_;
    TimePoint lastDialogTime_{};
    std::chrono::milliseconds splashMinimum_{2000};
    // Files to handle as drops, in the order they came, and the timer that looks for a
    // moment when nothing else is under way.
    std::deque<std::vector<std::string>> filesToOpen_;
    QTimer* openTimer_ = nullptr;
    // Set while the start-up or a save runs, which let events through before they end.
    int busy_ = 0;
    vorbix::CatalogueLock* lock_ = nullptr;
    vorbix::LoadAccess loadAccess_ = vorbix::LoadAccess::KeepCopies;
    bool started_ = false;
    bool ended_ = false;
    bool endedByError_ = false;
};

template <typename Show>
auto TMainForm::RunDialog(Show show) -> decltype(show())
{
    if constexpr (std::is_void_v<decltype(show())>) {
        show();
        NoteDialogTime();
    } else {
        auto result = show();
        NoteDialogTime();
        return result;
    }
}

} // namespace vorbix::gui
