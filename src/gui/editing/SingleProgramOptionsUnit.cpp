// TSingleProgramOptionsForm: the program editor's dialog.

#include "editing/SingleProgramOptionsUnit.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Utilities.h"
#include "editing/LinksUnit.h"
#include "editing/ProgramEditing.h"
#include "host/Prompts.h"
#include "host/Shell.h"
#include "mainwindow/HelpPages.h"
#include "mainwindow/TextBytes.h"
#include "platform/TextCoding.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QTreeWidget>

namespace vorbix::gui {

namespace {

// Opening a box's own drop-down list or switching to another window (a message box, the
// link dialog) neither enters nor leaves it: only the focus moving between this dialog's
// controls does.
bool FocusMoved(QEvent* event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

TSingleProgramOptionsForm::TSingleProgramOptionsForm(Catalogue& catalogue, Prompts& prompts, Shell& shell,
    TLinksForm& links, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      catalogue_(catalogue), prompts_(prompts), shell_(shell), linksForm_(links)
{
    setObjectName("SingleProgramOptionsForm");
    setWindowTitle(QStringLiteral("Program Options"));
    CreateWidgets();
    ConnectWidgets();
    setFixedSize(sizeHint());
}

void TSingleProgramOptionsForm::ConnectWidgets()
{
    connect(BrowseButton1, &QPushButton::clicked, this, &TSingleProgramOptionsForm::BrowseButton1Click);
    connect(ComboBox3, &QComboBox::currentTextChanged, this, &TSingleProgramOptionsForm::ComboBox3Change);
    for (QObject* watched : {static_cast<QObject*>(ComboBox1), static_cast<QObject*>(ComboBox1->lineEdit()),
             static_cast<QObject*>(ComboBox2), static_cast<QObject*>(ComboBox2->lineEdit()),
             static_cast<QObject*>(ComboBox3), static_cast<QObject*>(ComboBox3->lineEdit()),
             static_cast<QObject*>(Edit3), static_cast<QObject*>(ListView1)})
        watched->installEventFilter(this);

    // The link buttons follow the selection however it changes (click, keys, the buttons).
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TSingleProgramOptionsForm::UpdateLinkButtons);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (EditLinkButton->isEnabled())
            EditLinkClick();
    });
    connect(NewLinkButton, &QPushButton::clicked, this, &TSingleProgramOptionsForm::NewLinkClick);
    connect(EditLinkButton, &QPushButton::clicked, this, &TSingleProgramOptionsForm::EditLinkClick);
    connect(DeleteLinkButton, &QPushButton::clicked, this, &TSingleProgramOptionsForm::DeleteLinkClick);
    connect(UpLinkButton, &QToolButton::clicked, this, &TSingleProgramOptionsForm::UpLinkClick);
    connect(DownLinkButton, &QToolButton::clicked, this, &TSingleProgramOptionsForm::DownLinkClick);
    connect(SortLinkButton, &QPushButton::clicked, this, &TSingleProgramOptionsForm::SortLinkClick);

    connect(OKButton, &QPushButton::clicked, this, &TSingleProgramOptionsForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TSingleProgramOptionsForm::HelpButtonClick);
}

std::optional<ProgramRecord> TSingleProgramOptionsForm::Edit(const ProgramRecord& record)
{
    LoadValues(record);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    ProgramRecord edited = working_;
    SaveValues(edited);
    return edited;
}

void TSingleProgramOptionsForm::LoadValues(const ProgramRecord& record)
{
    working_ = record;
    Edit1->setText(ShownText(record.ProgramName));
    Edit2->setText(ShownText(record.FileUrl));
    Edit2->setCursorPosition(0);
    SetEntries(ComboBox1, catalogue_.Publishers.Items());
    SetText(ComboBox1, record.PublisherName);
    SetEntries(ComboBox2, catalogue_.ProgramTypes.Items());
    SetText(ComboBox2, record.ProgramType);
    CheckBox1->setChecked(record.Favourite);
    CheckBox2->setChecked(record.E00Dfs);
    QStringList comments;
    for (const std::string& line : record.Comments)
        comments << ShownText(line);
    Memo1->setPlainText(comments.join(u'\n'));
    links_ = LinksOf(record);
    FillLinks();
}

void TSingleProgramOptionsForm::SaveValues(ProgramRecord& record) const
{
    record.ProgramName = EditedText(Edit1->text(), working_.ProgramName);
    record.FileUrl = working_.FileUrl;
    record.PublisherName = Text(ComboBox1);
    record.ProgramType = Text(ComboBox2);
    record.Favourite = CheckBox1->isChecked();
    record.E00Dfs = CheckBox2->isChecked();
    // Comments the user did not edit are stored as loaded, line for line: read back from the
    // box, a long line would come back cut where this font and this width wrap it.
    record.Comments = Memo1->document()->isModified() ? CommentLines() : working_.Comments;
    record.EmuWarningEmus = working_.EmuWarningEmus;
    record.EmuWarningTexts = working_.EmuWarningTexts;
    StoreLinks(record, links_);
}

StringList TSingleProgramOptionsForm::CommentLines() const
{
    // Every line the box displays, read from the layout of its text blocks (one block per
    // comment as loaded or typed, one layout line per displayed line).
    const StringList& loaded = working_.Comments;
    QTextDocument* document = Memo1->document();
    StringList lines;
    std::size_t index = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next(), ++index) {
        const QString text = block.text();
        // A line still showing what its loaded comment showed keeps that comment's bytes;
        // a Windows-1252 comment shows one character per byte, so its displayed lines are
        // cut from the bytes at the same positions.
        const std::string* kept = index < loaded.size() && text == ShownText(loaded[index]) ? &loaded[index] : nullptr;
        const bool cutBytes = kept && !IsValidUtf8(*kept);
        // Lays out a block the box has not laid out yet (one never scrolled into view).
        document->documentLayout()->blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        if (layout->lineCount() == 0) {
            lines.push_back(kept ? *kept : StoredText(text));
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (cutBytes)
                lines.push_back(kept->substr(static_cast<std::size_t>(line.textStart()),
                    static_cast<std::size_t>(line.textLength())));
            else
                lines.push_back(StoredText(text.mid(line.textStart(), line.textLength())));
        }
    }
    return StoredComments(lines);
}

void TSingleProgramOptionsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TSingleProgramOptionsForm::FormShow()
{
    // The Information page is laid out once before the General page comes to the front:
    // the comment lines are read back from the comment box's wrapping, which needs the
    // box's size even when the page is never opened.
    PageControl1->setCurrentIndex(1);
    PageControl1->setCurrentIndex(0);
    Edit1->setFocus(Qt::OtherFocusReason);
    // "E00 DFS" can be set only while both DFS ROM images are present.
    CheckBox2->setEnabled(catalogue_.DfsRomsPresent);
    UpdateLinkButtons();
    SetEntries(ComboBox3, SortedEmulatorNames(catalogue_.EmuList));
    const WarningShown shown = FirstWarningShown(catalogue_.EmuList, working_);
    SetText(ComboBox3, shown.Emulator);
    Edit3->setText(ShownText(shown.Text));
    EnableWarningBox();
    QTextCursor start(Memo1->document());
    start.movePosition(QTextCursor::Start);
    Memo1->setTextCursor(start);
}

bool TSingleProgramOptionsForm::eventFilter(QObject* watched, QEvent* event)
{
    const auto in = [watched](QComboBox* box) { return watched == box || watched == box->lineEdit(); };
    if (FocusMoved(event)) {
        const bool leaving = event->type() == QEvent::FocusOut;
        if (leaving && in(ComboBox1))
            ComboBox1Exit();
        else if (leaving && in(ComboBox2))
            ComboBox2Exit();
        else if (in(ComboBox3))
            leaving ? ComboBox3Exit() : ComboBox3Enter();
    } else if (event->type() == QEvent::KeyRelease) {
        if (watched == Edit3) {
            Edit3KeyUp();
        } else if (watched == ListView1) {
            UpdateLinkButtons();
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && DeleteLinkButton->isEnabled())
                DeleteLinkClick();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSingleProgramOptionsForm::OKButtonClick()
{
    // Enter takes the default button without the focus leaving the box it is in; the box
    // is checked as if the focus had left it, so that OK never stores an unknown
    // publisher or type the user typed.
    QWidget* focused = focusWidget();
    if (focused == ComboBox1 || focused == ComboBox1->lineEdit())
        ComboBox1Exit();
    else if (focused == ComboBox2 || focused == ComboBox2->lineEdit())
        ComboBox2Exit();
    accept();
}

void TSingleProgramOptionsForm::BrowseButton1Click()
{
    // The chooser proposes a name and a publisher only where the boxes are empty now.
    working_.ProgramName = EditedText(Edit1->text(), working_.ProgramName);
    working_.PublisherName = Text(ComboBox1);
    if (!BrowseProgramImage(prompts_, catalogue_, working_))
        return;
    Edit1->setText(ShownText(working_.ProgramName));
    Edit2->setText(ShownText(working_.FileUrl));
    Edit2->setCursorPosition(0);
    SetText(ComboBox1, working_.PublisherName);
}

// A publisher or type that the lists do not hold stays while the box still shows the
// program's own value: only a text the user changed to something unknown is emptied.
void TSingleProgramOptionsForm::ComboBox1Exit()
{
    EmptyUnknownCategory(ComboBox1, catalogue_.Publishers, working_.PublisherName);
}

void TSingleProgramOptionsForm::ComboBox2Exit()
{
    EmptyUnknownCategory(ComboBox2, catalogue_.ProgramTypes, working_.ProgramType);
}

void TSingleProgramOptionsForm::EmptyUnknownCategory(QComboBox* box, const NameList& items, const std::string& loaded)
{
    const std::string text = Text(box);
    if (CheckCategoryText(items, text, loaded) != text)
        SetText(box, "");
}

void TSingleProgramOptionsForm::ComboBox3Change()
{
    Edit3->setText(ShownText(GetWarning(working_, Text(ComboBox3))));
    EnableWarningBox();
}

// A warning is stored for the emulator the selector names; while it names none (empty, as
// with no emulator or no warning yet, or a name half typed) the warning box is disabled,
// so that no warning is ever made for a name that is no emulator.
void TSingleProgramOptionsForm::EnableWarningBox()
{
    Edit3->setEnabled(IsEntryIgnoringCase(Entries(ComboBox3), Text(ComboBox3)));
}

void TSingleProgramOptionsForm::ComboBox3Enter()
{
    rememberedEmulator_ = Text(ComboBox3);
}

void TSingleProgramOptionsForm::ComboBox3Exit()
{
    const std::string text = Text(ComboBox3);
    const std::string kept = WarningSelectorOnLeave(Entries(ComboBox3), text, rememberedEmulator_);
    if (kept != text)
        SetText(ComboBox3, kept); // shows its warning
}

void TSingleProgramOptionsForm::Edit3KeyUp()
{
    const std::string emulator = Text(ComboBox3);
    SetWarning(working_, emulator, EditedText(Edit3->text(), GetWarning(working_, emulator)));
}

void TSingleProgramOptionsForm::HelpButtonClick()
{
    OpenHelpPage(shell_, prompts_, catalogue_, "PROGS.HTM");
}

void TSingleProgramOptionsForm::FillLinks()
{
    ListView1->clear();
    for (const DocLink& link : links_)
        ListView1->addTopLevelItem(new QTreeWidgetItem({ShownText(link.Name), ShownText(link.Url)}));
}

void TSingleProgramOptionsForm::ShowLink(int row)
{
    QTreeWidgetItem* item = ListView1->topLevelItem(row);
    const DocLink& link = links_[static_cast<std::size_t>(row)];
    item->setText(0, ShownText(link.Name));
    item->setText(1, ShownText(link.Url));
}

int TSingleProgramOptionsForm::SelectedLink() const
{
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    return selected.isEmpty() ? -1 : ListView1->indexOfTopLevelItem(selected.front());
}

void TSingleProgramOptionsForm::RevealLinkRow(int row)
{
    // The row is scrolled into view by the list itself rather than by fixed-height steps.
    if (QTreeWidgetItem* item = row >= 0 ? ListView1->topLevelItem(row) : nullptr) {
        ListView1->scrollToItem(item);
        ListView1->setCurrentItem(item);
    } else {
        ListView1->scrollToTop();
        ListView1->selectionModel()->clear();
    }
}

void TSingleProgramOptionsForm::UpdateLinkButtons()
{
    const LinkButtons buttons = vorbix::UpdateLinkButtons(static_cast<int>(links_.size()), SelectedLink());
    NewLinkButton->setEnabled(buttons.New);
    EditLinkButton->setEnabled(buttons.Edit);
    DeleteLinkButton->setEnabled(buttons.Delete);
    UpLinkButton->setEnabled(buttons.Up);
    DownLinkButton->setEnabled(buttons.Down);
    SortLinkButton->setEnabled(buttons.Sort);
}

void TSingleProgramOptionsForm::NewLinkClick()
{
    if (const std::optional<DocLink> link = linksForm_.Edit(DocLink{})) {
        const int row = AddLink(links_, *link);
        if (row >= 0) {
            ListView1->addTopLevelItem(new QTreeWidgetItem);
            ShowLink(row);
            RevealLinkRow(row);
        }
    }
    UpdateLinkButtons();
}

void TSingleProgramOptionsForm::EditLinkClick()
{
    const int row = SelectedLink();
    if (row < 0)
        return;
    if (const std::optional<DocLink> link = linksForm_.Edit(links_[static_cast<std::size_t>(row)])) {
        links_[static_cast<std::size_t>(row)] = *link;
        ShowLink(row);
    }
    UpdateLinkButtons();
}

void TSingleProgramOptionsForm::DeleteLinkClick()
{
    const int row = SelectedLink();
    if (row < 0)
        return;
    const LinkDelete deleted = DeleteLink(links_, row, prompts_);
    if (deleted.Removed) {
        delete ListView1->takeTopLevelItem(row);
        RevealLinkRow(deleted.Row);
    }
    UpdateLinkButtons();
}

void TSingleProgramOptionsForm::UpLinkClick()
{
    const int row = SelectedLink();
    if (row < 0)
        return;
    const int above = MoveLinkUp(links_, row);
    ShowLink(row);
    ShowLink(above);
    RevealLinkRow(above);
    UpdateLinkButtons();
}

void TSingleProgramOptionsForm::DownLinkClick()
{
    const int row = SelectedLink();
    if (row < 0)
        return;
    const int below = MoveLinkDown(links_, row);
    ShowLink(row);
    ShowLink(below);
    RevealLinkRow(below);
    UpdateLinkButtons();
}

void TSingleProgramOptionsForm::SortLinkClick()
{
    SortLinks(links_);
    FillLinks();
    RevealLinkRow(-1);
    UpdateLinkButtons();
}

} // namespace vorbix::gui
