// TAddFolderForm: the preview of the images found below a folder.

#include "collection/AddFolderUnit.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Utilities.h"
#include "collection/PreviewTable.h"
#include "collection/ScanProgress.h"
#include "host/Prompts.h"
#include "mainwindow/TextBytes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vorbix::gui {

namespace {

enum Column { kTick, kName, kPublisher, kType, kSource, kNotes, kFile, kColumns };

QTableWidgetItem* EditableItem(const std::string& bytes)
{
    auto* item = new QTableWidgetItem(ShownText(bytes));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    return item;
}

} // namespace

TAddFolderForm::TAddFolderForm(Catalogue& catalogue, Prompts& prompts, QWidget* parent, std::string listFolder)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      catalogue_(catalogue), prompts_(prompts), listFolder_(std::move(listFolder))
{
    setObjectName("AddFolderForm");
    setWindowTitle(QStringLiteral("Add Folder"));
    CreateWidgets();
    setFixedSize(860, 440);
}

void TAddFolderForm::CreateWidgets()
{
    Table = CreatePreviewTable(this,
        {QStringLiteral("Add"), QStringLiteral("Name"), QStringLiteral("Publisher"), QStringLiteral("Type"),
            QStringLiteral("From"), QStringLiteral("Notes"), QStringLiteral("File")},
        {36, 160, 120, 64, 66, 160});
    Table->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    connect(Table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && (item->column() == kPublisher || item->column() == kType))
            UpdateNotes(item->row());
    });

    Summary = PlainLabel(QString(), this);
    Summary->setObjectName("Summary");
    Summary->setWordWrap(true);

    ListsButton = new QPushButton(QStringLiteral("&Lists..."), this);
    ListsButton->setObjectName("ListsButton");
    ListsMenu = new QMenu(this);
    ListsMenu->setObjectName("ListsMenu");
    AddButton = new QPushButton(QStringLiteral("&Add"), this);
    AddButton->setObjectName("AddButton");
    AddButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName("CancelButton");
    connect(ListsButton, &QPushButton::clicked, this, &TAddFolderForm::ListsButtonClick);
    connect(AddButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ListsButton);
    buttons->addStretch();
    buttons->addWidget(AddButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Table, 1);
    layout->addWidget(Summary);
    layout->addLayout(buttons);
    setTabOrder(Table, ListsButton);
    setTabOrder(ListsButton, AddButton);
    setTabOrder(AddButton, CancelButton);
}

std::optional<std::vector<FolderProposal>> TAddFolderForm::Preview(const std::string& folder)
{
    folder_ = IncludeBackslash(folder);
    view_ = ScanCatalogue::Of(catalogue_);
    if (!Scan())
        return std::nullopt;
    Fill();
    Table->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return TakeProposals();
}

bool TAddFolderForm::Scan()
{
    std::optional<FolderScanResult> result =
        ScanWithProgress(isVisible() ? this : parentWidget(), folder_, view_, lists_);
    if (!result)
        return false;
    result_ = std::move(*result);
    return true;
}

void TAddFolderForm::Fill()
{
    filling_ = true;
    Table->setRowCount(0);
    Table->setRowCount(static_cast<int>(result_.Proposals.size()));
    for (int row = 0; row < Table->rowCount(); ++row) {
        const FolderProposal& proposal = result_.Proposals[static_cast<std::size_t>(row)];
        auto* tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        tick->setCheckState(proposal.Ticked ? Qt::Checked : Qt::Unchecked);
        Table->setItem(row, kTick, tick);
        Table->setItem(row, kName, EditableItem(proposal.Record.ProgramName));
        Table->setItem(row, kPublisher, EditableItem(proposal.Record.PublisherName));
        Table->setItem(row, kType, EditableItem(proposal.Record.ProgramType));
        Table->setItem(row, kSource, ReadOnlyItem(QString::fromStdString(SourceText(proposal.Source))));
        Table->setItem(row, kNotes, ReadOnlyItem(QString()));
        // The file below the folder scanned; the whole path in its tip.
        const std::string& path = proposal.Record.FileUrl;
        auto* file = ReadOnlyItem(ShownText(path.rfind(folder_, 0) == 0 ? path.substr(folder_.size()) : path));
        file->setToolTip(ShownText(path));
        Table->setItem(row, kFile, file);
        UpdateNotes(row);
    }
    filling_ = false;
    Summary->setText(QString::fromStdString(ScanSummary(result_, !lists_.empty())));
    if (Table->rowCount() > 0)
        Table->setCurrentCell(0, kTick);
    AddButton->setEnabled(Table->rowCount() > 0);
}

void TAddFolderForm::UpdateNotes(int row)
{
    // The notes of the row as edited: a publisher or type typed in may be a new one.
    FolderProposal proposal = result_.Proposals[static_cast<std::size_t>(row)];
    proposal.Record.PublisherName = EditedText(Table->item(row, kPublisher)->text(), proposal.Record.PublisherName);
    proposal.Record.ProgramType = EditedText(Table->item(row, kType)->text(), proposal.Record.ProgramType);
    QStringList notes;
    for (const std::string& note : ProposalNotes(proposal, view_))
        notes << ShownText(note);
    const bool wasFilling = filling_;
    filling_ = true;
    Table->item(row, kNotes)->setText(notes.join(QStringLiteral(", ")));
    Table->item(row, kNotes)->setToolTip(notes.join(QStringLiteral(", ")));
    filling_ = wasFilling;
}

void TAddFolderForm::ListsButtonClick()
{
    ListsMenu->clear();
    for (const std::string& file : InstalledMameLists(listFolder_)) {
        QAction* action = ListsMenu->addAction(ShownText(file.substr(listFolder_.size())));
        action->setCheckable(true);
        action->setChecked(std::find(listFiles_.begin(), listFiles_.end(), file) != listFiles_.end());
        connect(action, &QAction::toggled, this, [this, file](bool on) {
            std::vector<std::string> files = listFiles_;
            if (on)
                files.push_back(file);
            else
                files.erase(std::remove(files.begin(), files.end(), file), files.end());
            SetLists(files);
        });
    }
    for (const std::string& file : listFiles_) {
        if (file.rfind(listFolder_, 0) == 0)
            continue;
        QAction* action = ListsMenu->addAction(ShownText(file));
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::toggled, this, [this, file](bool) {
            std::vector<std::string> files = listFiles_;
            files.erase(std::remove(files.begin(), files.end(), file), files.end());
            SetLists(files);
        });
    }
    if (!ListsMenu->isEmpty())
        ListsMenu->addSeparator();
    connect(ListsMenu->addAction(QStringLiteral("&Other List...")), &QAction::triggered, this,
        &TAddFolderForm::ChooseOtherList);
    ListsMenu->exec(ListsButton->mapToGlobal(QPoint(0, ListsButton->height())));
}

void TAddFolderForm::ChooseOtherList()
{
    FileOpenRequest request;
    request.Filter = "Checksum lists (*.xml, *.dat)|*.xml;*.dat|All files|*";
    request.InitialDir = listFolder_;
    const std::optional<std::string> chosen = prompts_.ChooseFile(request);
    if (!chosen || std::find(listFiles_.begin(), listFiles_.end(), *chosen) != listFiles_.end())
        return;
    std::vector<std::string> files = listFiles_;
    files.push_back(*chosen);
    SetLists(files);
}

// Reads the lists again and scans again; a list that cannot be read is reported and left
// out. The rows are rebuilt, so edits made before are given up for the new names.
void TAddFolderForm::SetLists(const std::vector<std::string>& files)
{
    ChecksumLists lists;
    std::vector<std::string> kept;
    for (const std::string& file : files) {
        if (Status read = lists.AddFile(file); !read) {
            prompts_.ShowError(read.Message());
            continue;
        }
        kept.push_back(file);
    }
    listFiles_ = std::move(kept);
    lists_ = std::move(lists);
    if (Scan())
        Fill();
}

std::vector<FolderProposal> TAddFolderForm::TakeProposals() const
{
    std::vector<FolderProposal> proposals = result_.Proposals;
    for (int row = 0; row < Table->rowCount(); ++row) {
        FolderProposal& proposal = proposals[static_cast<std::size_t>(row)];
        ProgramRecord& record = proposal.Record;
        proposal.Ticked = Table->item(row, kTick)->checkState() == Qt::Checked;
        record.ProgramName = EditedText(Table->item(row, kName)->text(), record.ProgramName);
        record.PublisherName = EditedText(Table->item(row, kPublisher)->text(), record.PublisherName);
        record.ProgramType = EditedText(Table->item(row, kType)->text(), record.ProgramType);
    }
    return proposals;
}

} // namespace vorbix::gui
