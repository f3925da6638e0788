#include "launching/SingleEmuOptionsUnit.h"

#include "catalogue/Catalogue.h"
#include "editing/EmulatorEditing.h"
#include "launching/DialogButtons.h"
#include "launching/EmulatorArguments.h"
#include "launching/EmulatorCheck.h"
#include "launching/EmulatorPresets.h"
#include "launching/ImageMasks.h"
#include "mainwindow/HelpPages.h"
#include "mainwindow/TextBytes.h"

#include "host/Prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <initializer_list>

namespace vorbix::gui {

namespace {

// A box filled by a chooser keeps the chosen bytes: the user cannot type in it.
constexpr const char* kPathBytes = "vorbixPathBytes";

void SetPathText(QLineEdit* box, const std::string& bytes)
{
    box->setProperty(kPathBytes, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    box->setText(ShownText(bytes));
    box->setCursorPosition(0);
}

std::string PathText(const QLineEdit* box)
{
    const QByteArray bytes = box->property(kPathBytes).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* label = PlainLabel(QString::fromUtf8(text), parent);
    label->setBuddy(buddy);
    return label;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    row->addStretch();
    return row;
}

QPushButton* BrowseButton(const char* name, QWidget* parent)
{
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(name);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    return button;
}

// A read-only box showing a fixed text (the disk extensions, the dot before the ROM
// extension); it is no tab stop.
QLineEdit* FixedTextBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

} // namespace

TSingleEmuOptionsForm::TSingleEmuOptionsForm(Catalogue& catalogue, Prompts& prompts, Shell& shell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      catalogue_(catalogue), prompts_(prompts), shell_(shell)
{
    setObjectName("SingleEmuOptionsForm");
    setWindowTitle(QStringLiteral("Emulator Options"));
    CreateWidgets();
    ConnectWidgets();
    setFixedSize(sizeHint());
    ApplyDfsRule();
}

QLineEdit* TSingleEmuOptionsForm::AddTextBox(QWidget* parent, const char* name, std::string EmuRecord::*field)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    textFields_.push_back({box, field});
    return box;
}

QLineEdit* TSingleEmuOptionsForm::AddPathBox(QWidget* parent, const char* name, std::string EmuRecord::*field)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setMinimumWidth(260);
    pathFields_.push_back({box, field});
    return box;
}

QCheckBox* TSingleEmuOptionsForm::AddCheckBox(QWidget* parent, const char* name, const char* caption,
    bool EmuRecord::*field)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(name);
    flagFields_.push_back({box, field});
    return box;
}

void TSingleEmuOptionsForm::CreateWidgets()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(CreateEmulatorTab(), QStringLiteral("Emulator"));
    PageControl1->addTab(CreateImagesTab(), QStringLiteral("Disk/rom images"));
    PageControl1->addTab(CreateDfsTab(), QStringLiteral("DFS handling"));

    // Left of OK, Cancel and Help, and before them in the Tab order.
    PresetButton = new QPushButton(QStringLiteral("&Preset..."), this);
    PresetButton->setObjectName("PresetButton");
    PresetMenu = new QMenu(PresetButton);
    PresetMenu->setObjectName("PresetMenu");
    for (const std::string& name : EmulatorPresetNames())
        PresetMenu->addAction(ShownText(name))->setData(QByteArray::fromStdString(name));
    PresetButton->setMenu(PresetMenu);
    presetMenuTimer_ = new QTimer(this);
    presetMenuTimer_->setSingleShot(true);
    presetMenuTimer_->setInterval(0);
    connect(presetMenuTimer_, &QTimer::timeout, PresetButton, &QPushButton::showMenu);
    TestButton = new QPushButton(QStringLiteral("&Test"), this);
    TestButton->setObjectName("TestButton");
    TestButton->setAutoDefault(false);
    PresetButton->setAutoDefault(false);

    const DialogButtons buttons = CreateDialogButtons(this);
    OkButton = buttons.Ok;
    CancelButton = buttons.Cancel;
    HelpButton = buttons.Help;
    buttons.Row->insertWidget(0, PresetButton);
    buttons.Row->insertWidget(1, TestButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons.Row);
}

// The controls are created in reading order (the tabs, each tab's boxes from the top
// left, then the buttons), which is the order Tab moves the focus in.
QWidget* TSingleEmuOptionsForm::CreateEmulatorTab()
{
    auto* page = new QWidget;
    page->setObjectName("EmulatorTab");

    auto* nameGroup = new QGroupBox(QStringLiteral("Name"), page);
    NameEdit = AddTextBox(nameGroup, "NameEdit", &EmuRecord::EmuName);
    NameEdit->setMinimumWidth(200);
    FileNameEdit = AddPathBox(nameGroup, "FileNameEdit", &EmuRecord::EmuUrl);
    FileNameButton = BrowseButton("FileNameButton", nameGroup);
    auto* names = new QGridLayout(nameGroup);
    names->addWidget(Caption("Name", NameEdit, nameGroup), 0, 0);
    names->addLayout(Row({NameEdit}), 0, 1);
    names->addWidget(Caption("File Name", FileNameEdit, nameGroup), 1, 0);
    names->addLayout(Row({FileNameEdit, FileNameButton}), 1, 1);

    QGroupBox* runGroup = CreateRunGroup(page);

    // Alt+W: C is Cancel's first letter, and H, P and T belong to the button row.
    QCheckBox* carryOn =
        AddCheckBox(page, "WaitForExitCheck", "Carry on &when the emulator closes", &EmuRecord::WaitForExit);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(nameGroup);
    layout->addWidget(runGroup);
    layout->addWidget(carryOn);
    layout->addStretch();
    return page;
}

// The command line and the three environment variables.
QGroupBox* TSingleEmuOptionsForm::CreateRunGroup(QWidget* page)
{
    auto* runGroup = new QGroupBox(QStringLiteral("Run options"), page);
    QLineEdit* switches = AddTextBox(runGroup, "CommandLineEdit", &EmuRecord::CommandLineString);
    switches->setMinimumWidth(260);
    switches->setToolTip(QStringLiteral("%1 in the switches stands for the image as placed for the emulator: its "
                                        "full path in the disk or rom working directory. Run without a program, a "
                                        "switch holding %1 is left out, and so is the switch before a lone %1.")
                             .arg(QString::fromUtf8(kImagePlaceholder)));
    auto* run = new QGridLayout(runGroup);
    run->addWidget(Caption("Command line switches", switches, runGroup), 0, 0);
    run->addLayout(Row({switches}), 0, 1);
    run->addLayout(Row({PlainLabel(QStringLiteral("(Optional; if any: include - or / )"), runGroup)}), 1, 1);

    struct VariableRow {
        const char* nameBox;
        std::string EmuRecord::*name;
        const char* valueBox;
        std::string EmuRecord::*value;
        const char* forImages; // the caption's second line, or nullptr
    };
    const VariableRow variables[] = {
        {"EnvVarNameEdit", &EmuRecord::EnvVarName, "EnvVarValueEdit", &EmuRecord::EnvVarValue, nullptr},
        {"EnvVarSsNameEdit", &EmuRecord::EnvVarSsName, "EnvVarSsValueEdit", &EmuRecord::EnvVarSsValue,
            "for ss disk images"},
        {"EnvVarDsNameEdit", &EmuRecord::EnvVarDsName, "EnvVarDsValueEdit", &EmuRecord::EnvVarDsValue,
            "for ds disk images"},
    };
    int gridRow = 2;
    for (const VariableRow& v : variables) {
        QLineEdit* name = AddTextBox(runGroup, v.nameBox, v.name);
        QLineEdit* value = AddTextBox(runGroup, v.valueBox, v.value);
        name->setFixedWidth(110);
        value->setFixedWidth(110);
        auto* caption = new QVBoxLayout;
        caption->setSpacing(0);
        caption->addWidget(Caption("Environment variable", name, runGroup));
        if (v.forImages)
            caption->addWidget(PlainLabel(QString::fromUtf8(v.forImages), runGroup));
        run->addLayout(caption, gridRow, 0);
        run->addLayout(Row({name, Caption("Value", value, runGroup), value,
                           PlainLabel(QStringLiteral("(Optional)"), runGroup)}),
            gridRow++, 1);
    }
    return runGroup;
}

QWidget* TSingleEmuOptionsForm::CreateImagesTab()
{
    auto* page = new QWidget;
    page->setObjectName("ImagesTab");

    // The two captions and the extensions are set at start-up (SetImageCaptions).
    DiskImagesGroup = new QGroupBox(page);
    DiskImagesGroup->setObjectName("DiskImagesGroup");
    DiskWorkingDirEdit = AddPathBox(DiskImagesGroup, "DiskWorkingDirEdit", &EmuRecord::DiskWorkingDir);
    DiskWorkingDirButton = BrowseButton("DiskWorkingDirButton", DiskImagesGroup);
    QLineEdit* diskName = AddTextBox(DiskImagesGroup, "DiskFilenameEdit", &EmuRecord::DiskFilename);
    diskName->setFixedWidth(110);
    DiskExtensionsEdit = FixedTextBox("DiskExtensionsEdit", DiskImagesGroup);
    // Wide enough for the extensions set at start-up: the dialog's size is fixed by then.
    DiskExtensionsEdit->setFixedWidth(
        DiskExtensionsEdit->fontMetrics().horizontalAdvance(ShownText(DiskImageExtensionsText())) + 16);
    QCheckBox* cleanDisk = AddCheckBox(DiskImagesGroup, "CleanDiskWorkingDirCheck",
        "Remove disk image from emulator working directory after running", &EmuRecord::CleanDiskWorkingDir);
    auto* disk = new QGridLayout(DiskImagesGroup);
    disk->addWidget(Caption("Working directory", DiskWorkingDirEdit, DiskImagesGroup), 0, 0);
    disk->addLayout(Row({DiskWorkingDirEdit, DiskWorkingDirButton}), 0, 1);
    disk->addWidget(Caption("Disk image file name", diskName, DiskImagesGroup), 1, 0);
    disk->addLayout(Row({diskName, DiskExtensionsEdit, PlainLabel(QStringLiteral("(Optional)"), DiskImagesGroup)}), 1,
        1);
    disk->addWidget(cleanDisk, 2, 0, 1, 2);

    RomImagesGroup = new QGroupBox(page);
    RomImagesGroup->setObjectName("RomImagesGroup");
    RomWorkingDirEdit = AddPathBox(RomImagesGroup, "RomWorkingDirEdit", &EmuRecord::RomWorkingDir);
    RomWorkingDirButton = BrowseButton("RomWorkingDirButton", RomImagesGroup);
    QLineEdit* romName = AddTextBox(RomImagesGroup, "RomFilenameEdit", &EmuRecord::RomFilename);
    romName->setFixedWidth(110);
    QLineEdit* dot = FixedTextBox("RomDotEdit", RomImagesGroup);
    dot->setText(QStringLiteral("."));
    dot->setFixedWidth(dot->fontMetrics().horizontalAdvance(QStringLiteral("..")) + 12);
    QLineEdit* romExtension = AddTextBox(RomImagesGroup, "RomFileExtEdit", &EmuRecord::RomFileExt);
    romExtension->setFixedWidth(40);
    QCheckBox* cleanRom = AddCheckBox(RomImagesGroup, "CleanRomWorkingDirCheck",
        "Remove rom image from emulator working directory after running", &EmuRecord::CleanRomWorkingDir);
    RomsCfgModelBCheck = AddCheckBox(RomImagesGroup, "RomsCfgModelBCheck",
        "Process BeebEm 'roms.cfg' file for rom images (BeebEm BBC B)", &EmuRecord::ProcessRomsCfgModelB);
    RomsCfgMaster128Check = AddCheckBox(RomImagesGroup, "RomsCfgMaster128Check",
        "Process BeebEm 'roms.cfg' file for rom images (BeebEm BBC Master 128)", &EmuRecord::ProcessRomsCfgMaster128);
    auto* rom = new QGridLayout(RomImagesGroup);
    rom->addWidget(Caption("Working directory", RomWorkingDirEdit, RomImagesGroup), 0, 0);
    rom->addLayout(Row({RomWorkingDirEdit, RomWorkingDirButton}), 0, 1);
    rom->addWidget(Caption("Rom image file name", romName, RomImagesGroup), 1, 0);
    rom->addLayout(Row({romName, dot, romExtension, PlainLabel(QStringLiteral("(Optional)"), RomImagesGroup)}), 1, 1);
    int gridRow = 2;
    for (QCheckBox* box : {cleanRom, RomsCfgModelBCheck, RomsCfgMaster128Check})
        rom->addWidget(box, gridRow++, 0, 1, 2);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(DiskImagesGroup);
    layout->addWidget(RomImagesGroup);
    layout->addStretch();
    return page;
}

QWidget* TSingleEmuOptionsForm::CreateDfsTab()
{
    auto* page = new QWidget;
    page->setObjectName("DfsTab");

    DfsGroup = new QGroupBox(QStringLiteral("Vorbix DFS handling"), page);
    DfsGroup->setObjectName("DfsGroup");
    HandleDfsCheck = AddCheckBox(DfsGroup, "HandleDfsCheck", "Enable DFS handling by Vorbix", &EmuRecord::HandleDfs);
    auto* grid = new QGridLayout(DfsGroup);
    grid->addWidget(HandleDfsCheck, 0, 0, 1, 3);
    struct NameRow {
        const char* name; // the box's; its caption and note are named after it
        const char* caption;
        std::string EmuRecord::*field;
    };
    const NameRow rows[] = {{"DfsName", "Default DFS rom image file name", &EmuRecord::DfsName},
        {"E00DfsName", "E00 DFS rom image file name", &EmuRecord::E00DfsName}};
    int gridRow = 1;
    for (const NameRow& row : rows) {
        const QString name = QString::fromUtf8(row.name);
        QLineEdit* box = AddTextBox(DfsGroup, (name + QStringLiteral("Edit")).toLatin1().constData(), row.field);
        box->setFixedWidth(110);
        QLabel* caption = Caption(row.caption, box, DfsGroup);
        caption->setObjectName(name + QStringLiteral("Label"));
        auto* note = PlainLabel(QStringLiteral("(Include extension if appropriate)"), DfsGroup);
        note->setObjectName(name + QStringLiteral("Note"));
        grid->addWidget(caption, gridRow, 0);
        grid->addWidget(box, gridRow, 1);
        grid->addWidget(note, gridRow++, 2);
        dfsNameControls_.insert(dfsNameControls_.end(), {caption, box, note});
    }
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(DfsGroup);
    layout->addStretch();
    return page;
}

void TSingleEmuOptionsForm::ConnectWidgets()
{
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TSingleEmuOptionsForm::HelpButtonClick);
    connect(PresetMenu, &QMenu::triggered, this,
        [this](const QAction* action) { PresetMenuClick(action->data().toByteArray().toStdString()); });
    connect(TestButton, &QPushButton::clicked, this, &TSingleEmuOptionsForm::TestButtonClick);
    connect(FileNameButton, &QPushButton::clicked, this, &TSingleEmuOptionsForm::FileNameButtonClick);
    connect(DiskWorkingDirButton, &QPushButton::clicked, this, [this] { WorkingDirButtonClick(DiskWorkingDirEdit); });
    connect(RomWorkingDirButton, &QPushButton::clicked, this, [this] { WorkingDirButtonClick(RomWorkingDirEdit); });
    // Only a click (or Space) clears the other box: a record that holds both flags is
    // shown as it is stored.
    connect(RomsCfgModelBCheck, &QCheckBox::clicked, this,
        [this](bool checked) { RomsCfgClick(RomsCfgModelBCheck, checked); });
    connect(RomsCfgMaster128Check, &QCheckBox::clicked, this,
        [this](bool checked) { RomsCfgClick(RomsCfgMaster128Check, checked); });
    connect(HandleDfsCheck, &QCheckBox::toggled, this, &TSingleEmuOptionsForm::ApplyDfsRule);
}

std::optional<EmuRecord> TSingleEmuOptionsForm::Edit(const EmuRecord& record)
{
    editing_ = record;
    LoadValues(record);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    EmuRecord edited = record;
    SaveValues(edited);
    return edited;
}

void TSingleEmuOptionsForm::LoadValues(const EmuRecord& record)
{
    for (const TextField& text : textFields_) {
        text.box->setText(ShownText(record.*text.field));
        text.box->setCursorPosition(0);
    }
    for (const TextField& path : pathFields_)
        SetPathText(path.box, record.*path.field);
    for (const FlagField& flag : flagFields_)
        flag.box->setChecked(record.*flag.field);
}

// A box whose text the user did not change gives back the record's own bytes.
void TSingleEmuOptionsForm::SaveValues(EmuRecord& record) const
{
    for (const TextField& text : textFields_)
        record.*text.field = EditedText(text.box->text(), record.*text.field);
    for (const TextField& path : pathFields_)
        record.*path.field = PathText(path.box);
    for (const FlagField& flag : flagFields_)
        record.*flag.field = flag.box->isChecked();
}

void TSingleEmuOptionsForm::SetImageCaptions(const std::string& diskCaption, const std::string& diskExtensions,
    const std::string& romCaption)
{
    DiskImagesGroup->setTitle(ShownText(diskCaption));
    DiskExtensionsEdit->setText(ShownText(diskExtensions));
    RomImagesGroup->setTitle(ShownText(romCaption));
}

void TSingleEmuOptionsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TSingleEmuOptionsForm::FormShow()
{
    ApplyDfsRule();
    PageControl1->setCurrentIndex(0);
    NameEdit->setFocus();
    if (presetMenuOnShow_) {
        presetMenuOnShow_ = false;
        // Once the dialog's own loop runs, so that the menu opens over the dialog standing.
        presetMenuTimer_->start();
    }
}

void TSingleEmuOptionsForm::FileNameButtonClick()
{
    if (const std::optional<std::string> chosen = BrowseEmulatorFile(prompts_, catalogue_, PathText(FileNameEdit)))
        SetPathText(FileNameEdit, *chosen);
}

void TSingleEmuOptionsForm::WorkingDirButtonClick(QLineEdit* box)
{
    if (const std::optional<std::string> chosen = BrowseWorkingFolder(prompts_, catalogue_))
        SetPathText(box, *chosen);
}

void TSingleEmuOptionsForm::RomsCfgClick(QCheckBox* clicked, bool checked)
{
    if (checked)
        (clicked == RomsCfgModelBCheck ? RomsCfgMaster128Check : RomsCfgModelBCheck)->setChecked(false);
}

void TSingleEmuOptionsForm::ApplyDfsRule()
{
    // Without both DFS ROM images the whole "DFS handling" tab is disabled.
    const DfsControlStates states = DfsHandlingStates(catalogue_.DfsRomsPresent, HandleDfsCheck->isChecked());
    DfsGroup->setEnabled(states.HandleDfs);
    for (QWidget* control : dfsNameControls_)
        control->setEnabled(states.Names);
}

// Every field of the three tabs takes the preset's value; its working folder is made at once,
// so that Test finds it.
void TSingleEmuOptionsForm::PresetMenuClick(const std::string& name)
{
    const std::optional<EmuRecord> preset = EmulatorPreset(name, SystemPresetEnvironment());
    if (!preset)
        return;
    LoadValues(*preset);
    ApplyDfsRule();
    if (const Status made = CreateWorkingFolders(*preset); !made)
        prompts_.ShowErrorBox(made.Message());
}

// The definition as the boxes hold it now is tested; nothing is saved.
void TSingleEmuOptionsForm::TestButtonClick()
{
    EmuRecord shown = editing_;
    SaveValues(shown);
    const std::vector<std::string> problems = CheckEmulator(shown, catalogue_);
    std::string text = problems.empty() ? "No problems found" : "";
    for (const std::string& problem : problems)
        text += (text.empty() ? "" : "\n") + problem;
    prompts_.ShowMessageBox(
        {"Test", text, problems.empty() ? MessageIcon::Information : MessageIcon::Exclamation, MessageButtons::Ok});
}

void TSingleEmuOptionsForm::HelpButtonClick()
{
    OpenHelpPage(shell_, prompts_, catalogue_, "EMUS.HTM");
}

} // namespace vorbix::gui
