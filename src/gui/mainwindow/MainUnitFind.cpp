// TMainForm: find as you type over the program list, the list's own menu, and the
// window's size, place and split kept in the user's settings.

#include "mainwindow/MainUnit.h"

#include "browsing/ContainingFolder.h"
#include "mainwindow/ProgramListView.h"
#include "mainwindow/ProgramTableModel.h"
#include "mainwindow/TextBytes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSplitter>

namespace vorbix::gui {

namespace {

const char* const kGeometryKey = "MainWindow/Geometry";
const char* const kSplitKey = "MainWindow/Split";

} // namespace

QWidget* TMainForm::CreateFindBar(QWidget* parent)
{
    FindBar1 = new QWidget(parent);
    FindBar1->setObjectName("FindBar1");
    auto* layout = new QHBoxLayout(FindBar1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    FindEdit1 = new QLineEdit(FindBar1);
    FindEdit1->setObjectName("FindEdit1");
    FindEdit1->setPlaceholderText(QStringLiteral("Program or publisher"));
    FindEdit1->setClearButtonEnabled(true);
    // A file dropped on the field is the window's drop, never text pasted into it.
    FindEdit1->setAcceptDrops(false);
    QLabel* caption = PlainLabel(QStringLiteral("F&ind:"), FindBar1);
    caption->setObjectName("FindLabel1");
    caption->setBuddy(FindEdit1);
    layout->addWidget(caption);
    layout->addWidget(FindEdit1, 1);
    FindBar1->hide();
    return FindBar1;
}

// Shows the find field over the list (or, shown already, selects its text) and folds the
// names for it now, so that the first keystroke does not wait for that.
void TMainForm::Find1Click()
{
    FindBar1->show();
    listModel_->Rows().PrepareFind();
    FindEdit1->setFocus(Qt::ShortcutFocusReason);
    FindEdit1->selectAll();
}

// The list shows the filter's rows that hold the text; the selected program stays selected
// while it is among them, else the first row is.
void TMainForm::FindEdit1Change()
{
    const int remembered = SelectedPIdx();
    ListView1->setUpdatesEnabled(false);
    listModel_->SetFindText(StoredText(FindEdit1->text()));
    ListView1->setUpdatesEnabled(true);
    const int row = remembered >= 0 ? listModel_->Rows().RowOfPIdx(remembered) : -1;
    RevealListRow(row >= 0 ? row : (listModel_->rowCount() > 0 ? 0 : -1));
    RefreshDetails();
}

bool TMainForm::FindEdit1KeyDown(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Escape: CloseFind(); return true;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (listModel_->rowCount() == 0)
            return true;
        ListView1->setFocus(Qt::OtherFocusReason);
        RevealListRow(0);
        RefreshDetails();
        // The Enter that left the field counts as a dialog's closing Enter: an Enter in the
        // list right after it (the same key bouncing) does not start the program.
        if (qtKey != Qt::Key_Down)
            NoteDialogTime();
        return true;
    default: return false;
    }
}

// Empties and hides the field: the list shows the filter's rows again, with the selected
// program still selected, and has the focus.
void TMainForm::CloseFind()
{
    ListView1->setFocus(Qt::OtherFocusReason);
    FindEdit1->clear();
    FindBar1->hide();
}

void TMainForm::ListView1ContextMenu(const QPoint& globalPos)
{
    // A right-click has moved the selection: the details follow it first.
    RefreshDetails();
    if (ListView1->SelectedRow() < 0)
        return;
    QMenu menu(this);
    menu.setObjectName("ListMenu1");
    const auto add = [&menu](const char* name, const char* caption, const QAction* like) {
        QAction* item = menu.addAction(QString::fromUtf8(caption));
        item->setObjectName(name);
        if (like != nullptr) {
            item->setIcon(like->icon());
            item->setEnabled(like->isEnabled());
        }
        return item;
    };
    QAction* run = add("ListRun1", "&Run", RunProgram1);
    QAction* edit = add("ListEdit1", "&Edit", Edit1);
    QAction* remove = add("ListDelete1", "&Delete", Delete1);
    menu.addSeparator();
    QAction* folder = add("ListOpenFolder1", "Open Containing &Folder", nullptr);
    QAction* copy = add("ListCopyPath1", "&Copy Path", nullptr);
    const QAction* chosen = menu.exec(globalPos);
    if (chosen == run)
        LaunchProgram(LaunchMode::ListItem);
    else if (chosen == edit)
        Edit1Click();
    else if (chosen == remove)
        Delete1Click();
    else if (chosen == folder)
        OpenContainingFolder1Click();
    else if (chosen == copy)
        CopyPath1Click();
}

void TMainForm::CopyPath1Click()
{
    if (const ProgramRecord* program = listModel_->Rows().Program(ListView1->SelectedRow()))
        QApplication::clipboard()->setText(ShownText(program->FileUrl));
}

void TMainForm::OpenContainingFolder1Click()
{
    if (const ProgramRecord* program = listModel_->Rows().Program(ListView1->SelectedRow()))
        OpenContainingFolder(*program, prompts_, shell_);
}

// A settings file that is missing, unreadable or holds no valid geometry leaves the window
// at its first-start size, centred.
bool TMainForm::RestoreWindowPlacement()
{
    if (settingsFile_.empty())
        return false;
    const QSettings settings(QFile::decodeName(settingsFile_.c_str()), QSettings::IniFormat);
    const QByteArray split = settings.value(kSplitKey).toByteArray();
    if (!split.isEmpty())
        Splitter1->restoreState(split);
    const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
    return !geometry.isEmpty() && restoreGeometry(geometry);
}

void TMainForm::SaveWindowPlacement()
{
    if (settingsFile_.empty())
        return;
    QSettings settings(QFile::decodeName(settingsFile_.c_str()), QSettings::IniFormat);
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kSplitKey, Splitter1->saveState());
    settings.sync();
}

} // namespace vorbix::gui
