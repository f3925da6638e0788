// TMoveCatalogueForm: rewriting the catalogue's paths from one folder to another.

#include "collection/MoveCatalogueUnit.h"

#include "catalogue/Catalogue.h"
#include "collection/PreviewTable.h"
#include "host/Prompts.h"
#include "mainwindow/TextBytes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vorbix::gui {

TMoveCatalogueForm::TMoveCatalogueForm(Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      catalogue_(catalogue), prompts_(prompts)
{
    setObjectName("MoveCatalogueForm");
    setWindowTitle(QStringLiteral("Move Catalogue"));
    CreateWidgets();
    setFixedSize(920, 400);
}

void TMoveCatalogueForm::CreateWidgets()
{
    FromEdit = new QLineEdit(this);
    FromEdit->setObjectName("FromEdit");
    ToEdit = new QLineEdit(this);
    ToEdit->setObjectName("ToEdit");
    BrowseButton = new QPushButton(QStringLiteral("..."), this);
    BrowseButton->setObjectName("BrowseButton");
    BrowseButton->setFixedWidth(BrowseButton->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    ShowButton = new QPushButton(QStringLiteral("&Show Changes"), this);
    ShowButton->setObjectName("ShowButton");
    CreateTable();
    Summary = PlainLabel(QString(), this);
    Summary->setObjectName("Summary");
    MoveButton = new QPushButton(QStringLiteral("&Move"), this);
    MoveButton->setObjectName("MoveButton");
    MoveButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName("CancelButton");
    LayOut();

    connect(BrowseButton, &QPushButton::clicked, this, &TMoveCatalogueForm::BrowseButtonClick);
    connect(ShowButton, &QPushButton::clicked, this, &TMoveCatalogueForm::ShowChanges);
    connect(MoveButton, &QPushButton::clicked, this, &TMoveCatalogueForm::MoveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TMoveCatalogueForm::CreateTable()
{
    Table = CreatePreviewTable(this,
        {QStringLiteral("What"), QStringLiteral("Old path"), QStringLiteral("New path"),
            QStringLiteral("New path exists")},
        {190, 300, 300});
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TMoveCatalogueForm::LayOut()
{
    auto* fromLabel = PlainLabel(QStringLiteral("&From"), this);
    fromLabel->setBuddy(FromEdit);
    auto* toLabel = PlainLabel(QStringLiteral("&To"), this);
    toLabel->setBuddy(ToEdit);
    auto* fields = new QGridLayout;
    fields->addWidget(fromLabel, 0, 0);
    fields->addWidget(FromEdit, 0, 1, 1, 2);
    fields->addWidget(toLabel, 1, 0);
    fields->addWidget(ToEdit, 1, 1);
    fields->addWidget(BrowseButton, 1, 2);
    fields->addWidget(ShowButton, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Summary, 1);
    buttons->addWidget(MoveButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Table, 1);
    layout->addLayout(buttons);
    setTabOrder(FromEdit, ToEdit);
    setTabOrder(ToEdit, BrowseButton);
    setTabOrder(BrowseButton, ShowButton);
    setTabOrder(ShowButton, Table);
    setTabOrder(Table, MoveButton);
    setTabOrder(MoveButton, CancelButton);
}

std::optional<std::vector<Relocation>> TMoveCatalogueForm::Ask()
{
    FromEdit->setText(ShownText(CommonFolder(catalogue_)));
    ToEdit->clear();
    Table->setRowCount(0);
    Summary->clear();
    plan_.clear();
    FromEdit->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return plan_;
}

void TMoveCatalogueForm::BrowseButtonClick()
{
    if (const auto chosen = prompts_.ChooseFolder({StoredText(ToEdit->text())}))
        ToEdit->setText(ShownText(*chosen));
}

void TMoveCatalogueForm::ShowChanges()
{
    const std::string to = StoredText(ToEdit->text());
    plan_ = to.empty() ? std::vector<Relocation>() : PlanRelocation(catalogue_, StoredText(FromEdit->text()), to);
    Table->setRowCount(static_cast<int>(plan_.size()));
    std::size_t missing = 0;
    for (int row = 0; row < Table->rowCount(); ++row) {
        const Relocation& relocation = plan_[static_cast<std::size_t>(row)];
        missing += relocation.Exists ? 0 : 1;
        Table->setItem(row, 0, ReadOnlyItem(ShownText(RelocationPlace(catalogue_, relocation))));
        Table->setItem(row, 1, ReadOnlyItem(ShownText(relocation.OldPath)));
        Table->setItem(row, 2, ReadOnlyItem(ShownText(relocation.NewPath)));
        Table->setItem(row, 3, ReadOnlyItem(relocation.Exists ? QStringLiteral("yes") : QStringLiteral("no")));
    }
    Summary->setText(QStringLiteral("%1 %2 to move, %3 of them missing")
                         .arg(plan_.size())
                         .arg(plan_.size() == 1 ? QStringLiteral("path") : QStringLiteral("paths"))
                         .arg(missing));
}

// The changes are worked out again from the fields as they stand, so that what is moved is
// what the two fields say even when they were changed after "&Show Changes".
void TMoveCatalogueForm::MoveButtonClick()
{
    ShowChanges();
    if (StoredText(ToEdit->text()).empty() || plan_.empty()) {
        prompts_.ShowMessageBox({"",
            StoredText(ToEdit->text()).empty() ? "Give the folder the catalogue is moved to"
                                               : "No path begins with that folder",
            MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    accept();
}

} // namespace vorbix::gui
