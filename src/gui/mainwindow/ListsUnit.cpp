#include "mainwindow/ListsUnit.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Utilities.h"
#include "editing/CategoryEditing.h"
#include "mainwindow/HelpPages.h"
#include "mainwindow/TextBytes.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <functional>
#include <iterator>

namespace vorbix::gui {

// A category list: one column, no header, at most one selected entry whose highlight stays
// while another control has the focus, nothing edited in place. It reports its clicks and
// its key releases (after its own handling, so the selection has settled).
class CategoryListView : public QListWidget {
public:
    explicit CategoryListView(QWidget* parent) : QListWidget(parent)
    {
        setSelectionMode(QAbstractItemView::SingleSelection);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setUniformItemSizes(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
        colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
            colours.color(QPalette::Active, QPalette::HighlightedText));
        setPalette(colours);
    }

    // The row of the selected entry, or -1.
    int SelectedRow() const
    {
        const QModelIndexList rows = selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }

    std::function<void()> Clicked;
    std::function<void(int key)> KeyUp;

protected:
    // A click below the last entry clears the selection, as in the program list.
    void mousePressEvent(QMouseEvent* event) override
    {
        QListWidget::mousePressEvent(event);
        if (!indexAt(event->position().toPoint()).isValid()) {
            clearSelection();
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QListWidget::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && Clicked)
            Clicked();
    }

    void keyReleaseEvent(QKeyEvent* event) override
    {
        QListWidget::keyReleaseEvent(event);
        if (!event->isAutoRepeat() && KeyUp)
            KeyUp(event->key());
    }
};

namespace {

constexpr int kClientWidth = 367;
constexpr int kClientHeight = 377;
constexpr int kListLeft = 32;
constexpr int kListWidth = 121;
constexpr int kListHeight = 113;
constexpr int kEditLeft = 168;
constexpr int kEditWidth = 100;
constexpr int kButtonLeft = 280;
constexpr int kButtonWidth = 73;
constexpr int kButtonHeight = 25;
constexpr int kCaptionHeight = 18; // from a section's top to its list

QByteArray AsBytes(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool IsEnterKey(const QEvent* event)
{
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TListsForm::TListsForm(Catalogue& catalogue, Prompts& prompts, Shell& shell, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      catalogue_(catalogue), prompts_(prompts), shell_(shell)
{
    setObjectName("ListsForm");
    setWindowTitle(QStringLiteral("Categories"));
    publishers_.names = &catalogue_.Publishers;
    types_.names = &catalogue_.ProgramTypes;
    CreateWidgets();
    ConnectWidgets();
    setFixedSize(kClientWidth, kClientHeight);
}

CatalogueChange TListsForm::TakeChange()
{
    const CatalogueChange change = change_;
    change_ = {};
    return change;
}

void TListsForm::CreateWidgets()
{
    CreateSection(publishers_, 16, "Publishers", "PublishersList", "PublisherEdit", "AddPublisherButton",
        "DeletePublisherButton");
    auto* line = new QFrame(this);
    line->setObjectName("SectionLine");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(16, 166, kClientWidth - 32, 2);
    CreateSection(types_, 184, "Types", "TypesList", "TypeEdit", "AddTypeButton", "DeleteTypeButton");

    const int bottom = kClientHeight - 12 - kButtonHeight;
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setObjectName("CloseButton");
    CloseButton->setGeometry(kButtonLeft - kButtonWidth - 11, bottom, kButtonWidth, kButtonHeight);
    CloseButton->setDefault(true);
    HelpButton = new QPushButton(QStringLiteral("&Help"), this);
    HelpButton->setObjectName("HelpButton");
    HelpButton->setGeometry(kButtonLeft, bottom, kButtonWidth, kButtonHeight);

    // Tab order: each section's list, field, "Add", "Delete", then "Close" and "&Help".
    QWidget* order[] = {publishers_.list, publishers_.edit, publishers_.add, publishers_.remove, types_.list,
        types_.edit, types_.add, types_.remove, CloseButton, HelpButton};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TListsForm::CreateSection(Section& section, int top, const char* caption, const char* listName,
    const char* editName, const char* addName, const char* deleteName)
{
    auto* label = PlainLabel(QString::fromUtf8(caption), this);
    label->setObjectName(QString::fromUtf8(caption) + QStringLiteral("Caption"));
    label->move(kListLeft, top);
    label->adjustSize();

    const int listTop = top + kCaptionHeight;
    section.list = new CategoryListView(this);
    section.list->setObjectName(listName);
    section.list->setGeometry(kListLeft, listTop, kListWidth, kListHeight);

    section.edit = new QLineEdit(this);
    section.edit->setObjectName(editName);
    const int editHeight = section.edit->sizeHint().height();
    section.edit->setGeometry(kEditLeft, listTop + (kButtonHeight - editHeight) / 2, kEditWidth, editHeight);
    section.edit->installEventFilter(this);

    section.add = new QPushButton(QStringLiteral("Add"), this);
    section.add->setObjectName(addName);
    section.add->setGeometry(kButtonLeft, listTop, kButtonWidth, kButtonHeight);
    section.remove = new QPushButton(QStringLiteral("Delete"), this);
    section.remove->setObjectName(deleteName);
    section.remove->setGeometry(kButtonLeft, listTop + kButtonHeight + 8, kButtonWidth, kButtonHeight);
}

void TListsForm::ConnectWidgets()
{
    ConnectSection(publishers_);
    ConnectSection(types_);
    // Closing is all the window does: its changes are in the catalogue already.
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HelpButton, &QPushButton::clicked, this, &TListsForm::HelpClick);
}

void TListsForm::ConnectSection(Section& section)
{
    connect(section.add, &QPushButton::clicked, this, [this, &section] { AddName(section); });
    connect(section.remove, &QPushButton::clicked, this, [this, &section] { DeleteName(section); });
    section.list->Clicked = [this] { UpdateCategoryButtons(); };
    section.list->KeyUp = [this, &section](int key) { ListKeyUp(section, key); };
    // The buttons also follow a selection that changes in any other way.
    connect(section.list, &QListWidget::itemSelectionChanged, this, &TListsForm::UpdateCategoryButtons);
}

void TListsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is no new showing.
    if (!event->spontaneous())
        FormShow();
}

void TListsForm::FormShow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    LoadValues();
    publishers_.list->setFocus();
    UpdateCategoryButtons();
}

void TListsForm::LoadValues()
{
    for (Section* section : {&publishers_, &types_}) {
        section->edit->clear();
        FillList(*section);
        RevealListRow(*section, -1);
    }
}

void TListsForm::FillList(const Section& section)
{
    section.list->clear();
    for (const std::string& name : *section.names) {
        auto* item = new QListWidgetItem(ShownText(name), section.list);
        item->setData(Qt::UserRole, AsBytes(name));
    }
}

void TListsForm::RevealListRow(const Section& section, int row)
{
    CategoryListView* list = section.list;
    if (row < 0 || row >= list->count()) {
        list->scrollToTop();
        list->clearSelection();
        // Set through the view, "no current entry" holds when the focus next comes in, which
        // would otherwise make the first entry current, so that Down went on to the second.
        list->setCurrentIndex(QModelIndex());
        return;
    }
    list->scrollToItem(list->item(row), QAbstractItemView::EnsureVisible);
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void TListsForm::UpdateCategoryButtons()
{
    for (Section* section : {&publishers_, &types_}) {
        section->add->setEnabled(true);
        section->remove->setEnabled(section->list->SelectedRow() >= 0);
    }
}

void TListsForm::AddName(Section& section)
{
    const CategoryEdit edit = AddCategory(*section.names, StoredText(section.edit->text()));
    if (!edit.Change.Categories)
        return; // empty or present already: the field keeps its text
    change_ |= edit.Change;
    FillList(section);
    section.edit->clear();
    RevealListRow(section, edit.Row);
    UpdateCategoryButtons();
    section.edit->setFocus();
}

void TListsForm::DeleteName(Section& section)
{
    const CategoryEdit edit = DeleteCategory(*section.names, section.list->SelectedRow());
    if (!edit.Change.Categories)
        return;
    change_ |= edit.Change;
    FillList(section);
    RevealListRow(section, edit.Row);
    UpdateCategoryButtons();
}

void TListsForm::ListKeyUp(Section& section, int key)
{
    if (key == Qt::Key_Delete && section.remove->isEnabled())
        DeleteName(section);
    UpdateCategoryButtons();
}

// Enter in a name field adds the name when the key is released; its press is kept from
// the dialog, which would otherwise close through its default button.
bool TListsForm::eventFilter(QObject* watched, QEvent* event)
{
    for (Section* section : {&publishers_, &types_}) {
        if (watched != section->edit)
            continue;
        if (event->type() == QEvent::KeyPress && IsEnterKey(event))
            return true;
        if (event->type() == QEvent::KeyRelease && IsEnterKey(event)) {
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat())
                AddName(*section);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TListsForm::HelpClick()
{
    // The page's existence is not tested: a missing page is the shell's to report.
    OpenHelpPage(shell_, prompts_, catalogue_, "CATEGOR.HTM");
}

} // namespace vorbix::gui
