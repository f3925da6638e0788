// TMainForm: the program list, the two selectors, the details and the status bar.

#include "mainwindow/MainUnit.h"

#include "browsing/CommandStates.h"
#include "browsing/FilterEvaluation.h"
#include "browsing/SelectorEntries.h"
#include "browsing/StatusBarTexts.h"
#include "browsing/TypeAhead.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Utilities.h"
#include "host/Shell.h"
#include "mainwindow/DetailsPanel.h"
#include "mainwindow/ProgramListView.h"
#include "mainwindow/ProgramTableModel.h"
#include "mainwindow/TextBytes.h"
#include "mainwindow/VirtualKeys.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace vorbix::gui {

namespace {

// Redrawing of the list is suspended while it is rebuilt or scrolled in code.
class RedrawSuspender {
public:
    explicit RedrawSuspender(QWidget* widget) : widget_(widget) { widget_->setUpdatesEnabled(false); }
    ~RedrawSuspender() { widget_->setUpdatesEnabled(true); }

private:
    QWidget* widget_;
};

// The prompts of a refresh that draws the program shown already: it shows nothing.
class SilentPrompts : public Prompts {
public:
    MessageAnswer ShowMessageBox(const MessageRequest&) override { return MessageAnswer::Ok; }
    std::optional<std::string> ChooseFile(const FileOpenRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFolder(const FolderRequest&) override { return std::nullopt; }
};

} // namespace

StringList TMainForm::FilterSelectorItems() const
{
    return Entries(ComboBox1);
}

StringList TMainForm::EmulatorSelectorItems() const
{
    return Entries(ComboBox2);
}

int TMainForm::SelectedPIdx() const
{
    return listModel_->Rows().PIdx(ListView1->SelectedRow());
}

void TMainForm::FillSelectors()
{
    SetEntries(ComboBox1, FilterSelectorEntries(catalogue_.FilterList));
    SetEntries(ComboBox2, SortedEmulatorNames(catalogue_.EmuList));
}

void TMainForm::RefillProgramList()
{
    RebuildRows();
    RefreshDetails();
}

void TMainForm::RebuildRows()
{
    RedrawSuspender suspended(ListView1);
    const std::string valid = ValidFilterSelectorText(FilterSelectorItems(), FilterText());
    if (valid != FilterText())
        SetText(ComboBox1, valid);
    listModel_->Rebuild(catalogue_, FilterText());
    if (listModel_->rowCount() > 0)
        ListView1->SelectRow(0);
    ListView1->scrollToTop();
    ShowEmptyCatalogueHint(catalogue_.ProgramList.empty());
}

void TMainForm::UpdateCommandStates()
{
    const CommandStates states = vorbix::UpdateCommandStates(ListView1->SelectedRow() >= 0, EmulatorText());
    SetCommandEnabled(RunProgram1, states.RunProgram);
    SetCommandEnabled(RunEmulator1, states.RunEmulator);
    SetCommandEnabled(Edit1, states.EditProgram);
    SetCommandEnabled(Delete1, states.DeleteProgram);
    SetCommandEnabled(New1, states.NewProgram);
}

void TMainForm::RevealListRow(int row)
{
    RedrawSuspender suspended(ListView1);
    if (row < 0) {
        ListView1->scrollToTop();
        ListView1->SelectRow(-1);
        return;
    }
    ListView1->scrollTo(listModel_->index(row, 0), QAbstractItemView::EnsureVisible);
    ListView1->SelectRow(row);
}

// A damaged picture is reported once each time the selection comes to a program, not at
// every refresh while it stays there: the key that closes the box is let go over the
// program list, whose key-up refreshes the details, and each report would bring the next.
void TMainForm::RefreshDetails()
{
    const ProgramRecord* program = listModel_->Rows().Program(ListView1->SelectedRow());
    const ProgramDetails details = program ? DetailsFor(*program, listModel_->rowCount()) : ProgramDetails{};
    std::optional<std::pair<int, std::string>> shownFor;
    if (program)
        shownFor.emplace(SelectedPIdx(), program->FileUrl);
    SilentPrompts silent;
    const bool shownAlready = shownFor && shownFor == detailsShownFor_;
    detailsShownFor_ = std::move(shownFor);
    PageControl1->ShowDetails(details, shownAlready ? static_cast<Prompts&>(silent) : prompts_);
    ShowStatus(details.Status);
    // While the find narrows the list, the count follows it even when nothing is found.
    if (program == nullptr && !listModel_->Rows().FindText().empty())
        statusPanels_[4]->setText(ShownText(ProgramCountText(listModel_->rowCount())));
    UpdateCommandStates();
}

void TMainForm::RefreshDetailsWithNewPicture()
{
    detailsShownFor_.reset();
    RefreshDetails();
}

void TMainForm::ShowStatus(const StatusPanels& panels)
{
    for (std::size_t i = 0; i < panels.size(); ++i)
        statusPanels_[i]->setText(ShownText(panels[i]));
}

void TMainForm::ComboBox1Change()
{
    RefillProgramList();
    UpdateCommandStates();
}

void TMainForm::ComboBox1Exit()
{
    if (IsEntryIgnoringCase(FilterSelectorItems(), FilterText()))
        return;
    SetText(ComboBox1, kAllFilterName);
    RefillProgramList();
    UpdateCommandStates();
}

void TMainForm::ComboBox2Change()
{
    UpdateCommandStates();
}

void TMainForm::ComboBox2Exit()
{
    if (IsEntryIgnoringCase(EmulatorSelectorItems(), EmulatorText()))
        return;
    SetText(ComboBox2, "");
    UpdateCommandStates();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // Opening a selector's own drop-down list, a menu, or switching to another window
    // (a message box, another application) is no loss of focus: the focus comes back to
    // the selector, and only moving it to another control of this window validates.
    const auto lostFocus = [event] {
        if (event->type() != QEvent::FocusOut)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
    };
    if (watched == FindEdit1 && event->type() == QEvent::KeyPress
        && FindEdit1KeyDown(static_cast<QKeyEvent*>(event)->key()))
        return true;
    if (lostFocus()) {
        if (watched == ComboBox1 || watched == ComboBox1->lineEdit())
            ComboBox1Exit();
        else if (watched == ComboBox2 || watched == ComboBox2->lineEdit())
            ComboBox2Exit();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::ListView1Click()
{
    RefreshDetails();
}

void TMainForm::ListView1DblClick()
{
    RefreshDetails();
    if (ListView1->SelectedRow() >= 0)
        LaunchProgram(LaunchMode::ListItem);
}

void TMainForm::ListView1ColumnClick(int column)
{
    // The header's sections are the model's columns, in ListColumn order.
    listModel_->Rows().HeaderClick(static_cast<ListColumn>(column));
    const int remembered = SelectedPIdx();
    // The rows are rebuilt without showing the first row's details: the details are shown
    // once, for the re-selected program.
    RebuildRows();
    if (remembered >= 0) {
        const int row = listModel_->Rows().RowOfPIdx(remembered);
        if (row >= 0)
            RevealListRow(row);
    }
    RefreshDetails();
}

void TMainForm::ListView1KeyDown(int virtualKey)
{
    if (listModel_->rowCount() > 0) {
        keyDownTopRow_ = ListView1->TopRow();
        // With rows but none selected no row is remembered: the search then starts at the
        // first row and a key that finds nothing leaves the list without a selection.
        keyDownSelRow_ = ListView1->SelectedRow();
    } else {
        keyDownTopRow_ = 0;
        keyDownSelRow_ = 0;
    }
    // Escape in the list while the find field is open closes it, as Escape in the field does.
    if (virtualKey == kVirtualKeyEscape && FindBar1->isVisible()) {
        CloseFind();
        return;
    }
    if (virtualKey == kVirtualKeyReturn && ListView1->SelectedRow() >= 0
        && Now() > lastDialogTime_ + std::chrono::milliseconds(300)) {
        NoteDialogTime();
        LaunchProgram(LaunchMode::ListItem);
    }
}

// The details follow the selection once it has settled: after a type-ahead character the
// view's own incremental search (which goes by the first column) is undone first, so the
// details never show, nor report a damaged picture of, the row that search landed on.
void TMainForm::ListView1KeyUp(int virtualKey)
{
    const std::optional<char> ch = TypeAheadCharacter(virtualKey);
    if (ch && ListView1->SelectedRow() >= 0) {
        {
            // Undo the view's own incremental search.
            RedrawSuspender suspended(ListView1);
            ListView1->scrollToTop();
            ListView1->SetTopRow(keyDownTopRow_);
            ListView1->SelectRow(keyDownSelRow_);
        }
        const std::optional<int> row = listModel_->Rows().FindTypeAheadRow(keyDownSelRow_, *ch);
        if (row)
            RevealListRow(*row);
    }
    RefreshDetails();
}

void TMainForm::LinkClick(bool onEntry, const std::string& target)
{
    ListView1->setFocus();
    if (onEntry)
        OpenDocumentLink(target, prompts_, shell_);
}

} // namespace vorbix::gui
