#include "launching/RecordListForm.h"

#include "mainwindow/ProgramListView.h"
#include "mainwindow/TextBytes.h"
#include "mainwindow/VirtualKeys.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace vorbix::gui {

namespace {

constexpr int kCaptionColumn = 0;
constexpr int kEIdxColumn = 1;

} // namespace

TRecordListForm::TRecordListForm(const char* objectName, const char* caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(objectName);
    setWindowTitle(QString::fromUtf8(caption));
    CreateWidgets();
    ConnectWidgets();
    setFixedSize(sizeHint());
}

void TRecordListForm::CreateWidgets()
{
    // The list is the program list's control: whole-row selection, no editing, the
    // selection shown while the focus is elsewhere, and a click below the last row
    // selects nothing.
    rows_ = new QStandardItemModel(0, 2, this);
    rows_->setHorizontalHeaderLabels({QString(), QStringLiteral("EIdx")});
    ListView1 = new ProgramListView(this);
    ListView1->setObjectName("ListView1");
    ListView1->setModel(rows_);
    ListView1->setHeaderHidden(true);
    ListView1->setColumnHidden(kEIdxColumn, true);
    ListView1->header()->setStretchLastSection(true);
    ListView1->setFixedSize(185, 209);

    NewButton = new QPushButton(QStringLiteral("&New"), this);
    NewButton->setObjectName("NewButton");
    EditButton = new QPushButton(QStringLiteral("&Edit"), this);
    EditButton->setObjectName("EditButton");
    DeleteButton = new QPushButton(QStringLiteral("&Delete"), this);
    DeleteButton->setObjectName("DeleteButton");
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setObjectName("CloseButton");
    CloseButton->setDefault(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {NewButton, EditButton, DeleteButton})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ListView1);
    layout->addLayout(buttons);

    setTabOrder(ListView1, NewButton);
    setTabOrder(NewButton, EditButton);
    setTabOrder(EditButton, DeleteButton);
    setTabOrder(DeleteButton, CloseButton);
}

void TRecordListForm::ConnectWidgets()
{
    connect(NewButton, &QPushButton::clicked, this, &TRecordListForm::NewButtonClick);
    connect(EditButton, &QPushButton::clicked, this, &TRecordListForm::EditButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TRecordListForm::DeleteButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListView1, &ProgramListView::Clicked, this, &TRecordListForm::UpdateListButtons);
    connect(ListView1, &ProgramListView::DoubleClicked, this, &TRecordListForm::ListView1DblClick);
    connect(ListView1, &ProgramListView::KeyUp, this, &TRecordListForm::ListView1KeyUp);
}

void TRecordListForm::LoadValues(const std::vector<ListRow>& rows)
{
    rows_->removeRows(0, rows_->rowCount());
    for (const ListRow& row : rows) {
        auto* caption = new QStandardItem(ShownText(row.Caption));
        auto* eidx = new QStandardItem(QString::number(row.EIdx));
        for (QStandardItem* item : {caption, eidx})
            item->setEditable(false);
        rows_->appendRow({caption, eidx});
    }
    RevealListRow(-1);
}

CatalogueChange TRecordListForm::TakeChange()
{
    CatalogueChange change = change_;
    change_ = {};
    return change;
}

void TRecordListForm::UpdateListButtons()
{
    const bool selected = ListView1->SelectedRow() >= 0;
    EditButton->setEnabled(selected);
    DeleteButton->setEnabled(selected);
}

void TRecordListForm::RevealListRow(int row)
{
    if (row < 0 || row >= rows_->rowCount()) {
        ListView1->scrollToTop();
        ListView1->SelectRow(-1);
        // Set through the view, "no current row" holds when the focus next comes in, which
        // would otherwise make the first row current, so that Down went on to the second.
        ListView1->setCurrentIndex(QModelIndex());
        return;
    }
    ListView1->scrollTo(rows_->index(row, kCaptionColumn), QAbstractItemView::EnsureVisible);
    ListView1->SelectRow(row);
}

int TRecordListForm::SelectedEIdx() const
{
    const int row = ListView1->SelectedRow();
    return row < 0 ? -1 : rows_->item(row, kEIdxColumn)->text().toInt();
}

void TRecordListForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TRecordListForm::FormShow()
{
    change_ = {};
    LoadValues(StoreRows());
    ListView1->setFocus();
    UpdateListButtons();
}

void TRecordListForm::ApplyEdit(const ListEdit& edit)
{
    change_ |= edit.Change;
    LoadValues(edit.Rows);
    RevealListRow(edit.SelectRow);
}

void TRecordListForm::NewButtonClick()
{
    if (const std::optional<ListEdit> edit = NewRecord())
        ApplyEdit(*edit);
    UpdateListButtons();
}

void TRecordListForm::EditButtonClick()
{
    const int eidx = SelectedEIdx();
    if (eidx >= 0) {
        if (const std::optional<ListEdit> edit = EditRecord(eidx))
            ApplyEdit(*edit);
    }
    UpdateListButtons();
}

void TRecordListForm::DeleteButtonClick()
{
    const int eidx = SelectedEIdx();
    if (eidx >= 0)
        ApplyEdit(DeleteRecord(eidx));
    UpdateListButtons();
}

void TRecordListForm::ListView1DblClick()
{
    UpdateListButtons();
    if (EditButton->isEnabled())
        EditButtonClick();
}

void TRecordListForm::ListView1KeyUp(int virtualKey)
{
    UpdateListButtons();
    if (virtualKey == kVirtualKeyDelete && DeleteButton->isEnabled())
        DeleteButtonClick();
}

} // namespace vorbix::gui
