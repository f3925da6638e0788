#include "launching/OptionsUnit.h"

#include "catalogue/Utilities.h"
#include "editing/OptionsEditing.h"
#include "host/Prompts.h"
#include "mainwindow/HelpPages.h"
#include "mainwindow/TextBytes.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>

namespace vorbix::gui {

namespace {

constexpr int kButtonWidth = 73;
constexpr int kButtonHeight = 25;
constexpr int kPictureBoxWidth = 260;
constexpr int kIndent = 20; // the source picture row sits under its check box's caption

QGroupBox* AddSection(QBoxLayout* layout, QWidget* parent, const char* name, const char* caption)
{
    auto* group = new QGroupBox(QString::fromUtf8(caption), parent);
    group->setObjectName(name);
    new QVBoxLayout(group);
    layout->addWidget(group);
    return group;
}

QPushButton* AddButton(QBoxLayout* layout, QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    layout->addWidget(button);
    return button;
}

} // namespace

TOptionsForm::TOptionsForm(Catalogue& catalogue, Prompts& prompts, Shell& shell, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint),
      catalogue_(catalogue), prompts_(prompts), shell_(shell)
{
    setObjectName("OptionsForm");
    setWindowTitle(QStringLiteral("Options"));
    CreateWidgets();
    ConnectWidgets();
}

// No sizes are given for this dialog: the layout sizes it to its captions at the platform's
// font, and the size is then fixed.
void TOptionsForm::CreateWidgets()
{
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox* warnings =
        AddSection(layout, this, "WarningsGroup", "Show the following warnings before running an emulator...");
    CompatibilityWarningCheck = AddOption(warnings, "CompatibilityWarningCheck", "Program compatibility warning",
        &OtherOptions::CompatibilityWarning);
    E00DfsWarningCheck = AddOption(warnings, "E00DfsWarningCheck", "E00 DFS warning", &OtherOptions::E00DfsWarning);

    QGroupBox* afterRun = AddSection(layout, this, "AfterRunGroup", "After running a BBC program with an emulator...");
    CopyDiskBackCheck = AddOption(afterRun, "CopyDiskBackCheck",
        "Copy disk image back from emulator working directory to program directory ", &OtherOptions::CopyDiskBack);
    CopyPictureCheck =
        AddOption(afterRun, "CopyPictureCheck", "Copy picture file to program directory ", &OtherOptions::CopyPicture);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->setContentsMargins(kIndent, 0, 0, 0);
    PictureLabel = PlainLabel(QStringLiteral("Source picture file"), afterRun);
    PictureLabel->setObjectName("PictureLabel");
    PictureEdit = new QLineEdit(afterRun);
    PictureEdit->setObjectName("PictureEdit");
    PictureEdit->setReadOnly(true);
    PictureEdit->setMinimumWidth(kPictureBoxWidth);
    PictureButton = new QPushButton(QStringLiteral("..."), afterRun);
    PictureButton->setObjectName("PictureButton");
    PictureButton->setFixedWidth(PictureButton->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    pictureRow->addWidget(PictureLabel);
    pictureRow->addWidget(PictureEdit, 1);
    pictureRow->addWidget(PictureButton);
    static_cast<QBoxLayout*>(afterRun->layout())->addLayout(pictureRow);

    QGroupBox* afterDrop =
        AddSection(layout, this, "AfterDropGroup", "After dropping a disk/rom image on the Vorbix main window...");
    AskAddToListCheck = AddOption(afterDrop, "AskAddToListCheck", "Ask to add to list", &OtherOptions::AskAddToList);
    UseE00DfsCheck = AddOption(afterDrop, "UseE00DfsCheck", "Use E00 DFS", &OtherOptions::UseE00Dfs);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    CloseButton = AddButton(buttons, this, "CloseButton", "Close");
    CloseButton->setDefault(true);
    HelpButton = AddButton(buttons, this, "HelpButton", "&Help");
    layout->addLayout(buttons);
    // The controls were made in reading order, which is the Tab order.
}

QCheckBox* TOptionsForm::AddOption(QWidget* group, const char* name, const char* caption, bool OtherOptions::*option)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), group);
    box->setObjectName(name);
    group->layout()->addWidget(box);
    options_.emplace_back(box, option);
    return box;
}

void TOptionsForm::ConnectWidgets()
{
    for (const auto& [box, option] : options_) {
        connect(box, &QCheckBox::toggled, this,
            [this, option = option](bool checked) { catalogue_.Options.*option = checked; });
    }
    // Every change of the box applies the rule: a click, and the key that toggles it when
    // released while it has the focus.
    connect(CopyPictureCheck, &QCheckBox::toggled, this, &TOptionsForm::ApplyPictureRule);
    connect(PictureButton, &QPushButton::clicked, this, &TOptionsForm::PictureButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HelpButton, &QPushButton::clicked, this, &TOptionsForm::HelpClick);
}

void TOptionsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is no new showing.
    if (!event->spontaneous())
        FormShow();
}

void TOptionsForm::FormShow()
{
    LoadValues();
    ApplyPictureRule();
    CompatibilityWarningCheck->setFocus();
}

// The options may have been loaded or changed elsewhere since the last showing.
void TOptionsForm::LoadValues()
{
    for (const auto& [box, option] : options_) {
        const QSignalBlocker blocker(box);
        box->setChecked(catalogue_.Options.*option);
    }
    PictureEdit->setText(ShownText(catalogue_.Options.PictureUrl));
    PictureEdit->setCursorPosition(0);
    // "Use E00 DFS" can be changed only while both DFS ROM images are present; a disabled
    // box keeps its state, which the launch still reads.
    UseE00DfsCheck->setEnabled(catalogue_.DfsRomsPresent);
}

void TOptionsForm::ApplyPictureRule()
{
    const bool enabled = CopyPictureCheck->isChecked();
    PictureLabel->setEnabled(enabled);
    PictureEdit->setEnabled(enabled);
    PictureButton->setEnabled(enabled);
}

void TOptionsForm::PictureButtonClick()
{
    const std::optional<std::string> chosen =
        prompts_.ChooseFile(PictureFileRequest(catalogue_.Options.PictureUrl, catalogue_));
    if (!chosen)
        return;
    catalogue_.Options.PictureUrl = *chosen;
    PictureEdit->setText(ShownText(*chosen));
    PictureEdit->setCursorPosition(0);
}

void TOptionsForm::HelpClick()
{
    // A missing page is the shell's to report.
    OpenHelpPage(shell_, prompts_, catalogue_, "OPTIONS.HTM");
}

} // namespace vorbix::gui
