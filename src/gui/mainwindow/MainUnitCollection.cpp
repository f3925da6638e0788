// TMainForm: bringing a collection in (Add Folder) and moving a catalogue.

#include "mainwindow/MainUnit.h"

#include "catalogue/Catalogue.h"
#include "collection/AddFolderUnit.h"
#include "collection/MoveCatalogueUnit.h"
#include "collection/Relocate.h"
#include "launching/EmuOptionsUnit.h"
#include "launching/SingleEmuOptionsUnit.h"
#include "mainwindow/ProgramListView.h"
#include "mainwindow/TextBytes.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vorbix::gui {

void TMainForm::AddFolder1Click()
{
    const std::optional<std::string> folder =
        RunDialog([this] { return prompts_.ChooseFolder({catalogue_.LastProgramDir}); });
    if (folder)
        AddFolder(*folder);
}

void TMainForm::AddFolder(const std::string& folder)
{
    const std::optional<std::vector<FolderProposal>> proposals =
        RunDialog([&] { return addFolderForm_->Preview(folder); });
    if (!proposals)
        return;
    ApplyChange(AddProposals(catalogue_, *proposals));
}

void TMainForm::MoveCatalogue1Click()
{
    const std::optional<std::vector<Relocation>> plan = RunDialog([this] { return moveCatalogueForm_->Ask(); });
    if (!plan)
        return;
    CatalogueChange change = ApplyRelocation(catalogue_, *plan);
    // The pictures and the details follow the programs' new paths; the selection stays.
    change.RebuildProgramList = true;
    change.RevealPIdx = SelectedPIdx();
    ApplyChange(change);
}

namespace {

// Keeps a widget over the whole of another (the list's rows area) as that one is resized.
class CoverFollower : public QObject {
public:
    CoverFollower(QWidget* cover, QWidget* under) : QObject(cover), cover_(cover)
    {
        under->installEventFilter(this);
        cover_->setGeometry(under->rect());
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            cover_->setGeometry(static_cast<QWidget*>(watched)->rect());
        return false;
    }

private:
    QWidget* cover_;
};

} // namespace

void TMainForm::CreateEmptyCatalogueHint()
{
    QWidget* rows = ListView1->viewport();
    emptyHint_ = new QWidget(rows);
    emptyHint_->setObjectName("EmptyCatalogueHint");
    emptyHint_->setAutoFillBackground(true);
    auto* text = PlainLabel(QStringLiteral("The catalogue has no programs yet. Bring in a folder of disc, tape and "
                                           "ROM images, and set up an emulator to run them in."),
        emptyHint_);
    text->setObjectName("EmptyCatalogueText");
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    auto* addFolder = new QPushButton(QStringLiteral("Add a folder of images..."), emptyHint_);
    addFolder->setObjectName("AddFolderButton");
    auto* setUp = new QPushButton(QStringLiteral("Set up an emulator..."), emptyHint_);
    setUp->setObjectName("SetUpEmulatorButton");
    auto* layout = new QVBoxLayout(emptyHint_);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addStretch();
    layout->addWidget(text);
    layout->addSpacing(8);
    layout->addWidget(addFolder);
    layout->addWidget(setUp);
    layout->addStretch(2);
    new CoverFollower(emptyHint_, rows);
    emptyHint_->hide();
    connect(addFolder, &QPushButton::clicked, this, &TMainForm::AddFolder1Click);
    connect(setUp, &QPushButton::clicked, this, &TMainForm::SetUpEmulator);
    setUpTimer_ = new QTimer(this);
    setUpTimer_->setSingleShot(true);
    setUpTimer_->setInterval(0);
    connect(setUpTimer_, &QTimer::timeout, this,
        [this] { emuOptionsForm_->findChild<QPushButton*>(QStringLiteral("NewButton"))->click(); });
}

void TMainForm::ShowEmptyCatalogueHint(bool show)
{
    emptyHint_->setVisible(show);
}

void TMainForm::SetUpEmulator()
{
    singleEmuOptionsForm_->OpenPresetMenuOnNextShow();
    // New, once the list dialog's own loop runs: the emulator dialog opens over it.
    setUpTimer_->start();
    Emulators1Click();
}

} // namespace vorbix::gui
