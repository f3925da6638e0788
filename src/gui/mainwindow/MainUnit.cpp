// TMainForm: building the window (menus, toolbar, list, details panel, status bar).

#include "mainwindow/MainUnit.h"

#include "catalogue/Catalogue.h"
#include "collection/AddFolderUnit.h"
#include "collection/MoveCatalogueUnit.h"
#include "editing/LinksUnit.h"
#include "editing/SingleProgramOptionsUnit.h"
#include "host/Shell.h"
#include "launching/EmuOptionsUnit.h"
#include "launching/FilterOptionsUnit.h"
#include "launching/OptionsUnit.h"
#include "launching/SingleEmuOptionsUnit.h"
#include "launching/SingleFilterOptionsUnit.h"
#include "mainwindow/CommandIcons.h"
#include "mainwindow/DetailsGrowth.h"
#include "mainwindow/DetailsPanel.h"
#include "mainwindow/ExitUnit.h"
#include "mainwindow/ListsUnit.h"
#include "mainwindow/ProgramListView.h"
#include "mainwindow/ProgramTableModel.h"
#include "mainwindow/SplashUnit.h"
#include "mainwindow/TextBytes.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/FileSystem.h"
#include "reports/CompatibilityReportUnit.h"
#include "reports/LinksReportUnit.h"
#include "reports/ProgramsReportUnit.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorbix::gui {

namespace {

constexpr int kClientWidth = 636;
constexpr int kToolBarHeight = 33;
constexpr int kStatusBarHeight = 19;
constexpr int kCentralHeight = 386 - kToolBarHeight - kStatusBarHeight;

} // namespace

TMainForm::TMainForm(Catalogue& catalogue, Prompts& prompts, Shell& shell, QWidget* parent)
    : QMainWindow(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
            | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      catalogue_(catalogue), shell_(shell), writer_(&SystemFileWriter()),
      prompts_(prompts, [this] { NoteDialogTime(); })
{
    setObjectName("MainForm");
    setWindowTitle(QStringLiteral("Vorbix"));
    setAcceptDrops(true);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateCentralArea();
    CreateStatusBar();
    ConnectWidgets();
    // The size of a first start is the smallest the window takes; the user may make it
    // larger or maximise it, and the client area then grows with it.
    const QSize firstSize = sizeHint();
    centralWidget()->setMinimumSize(kClientWidth, kCentralHeight);
    centralWidget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(firstSize);
    resize(firstSize);
    CreateForms();
    openTimer_ = new QTimer(this);
    openTimer_->setSingleShot(true);
    connect(openTimer_, &QTimer::timeout, this, &TMainForm::OpenWaitingFiles);
}

TMainForm::~TMainForm()
{
    // Before any window goes, while the event loop can still tell the sound has loaded.
    if (splashForm_ != nullptr)
        splashForm_->ReleaseSound();
}

QAction* TMainForm::AddAction(const char* name, const char* caption, const char* hint, std::optional<CommandIcon> icon)
{
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(name);
    if (hint)
        action->setToolTip(QString::fromUtf8(hint));
    if (icon)
        action->setIcon(MakeCommandIcon(*icon));
    action->setIconVisibleInMenu(icon.has_value());
    return action;
}

void TMainForm::CreateActions()
{
    Save1 = AddAction("Save1", "&Save");
    ProgramsReport1 = AddAction("ProgramsReport1", "&Programs Report");
    CompatibilityReport1 = AddAction("CompatibilityReport1", "&Compatibility Report");
    LinksReport1 = AddAction("LinksReport1", "&Links Report");
    Exit1 = AddAction("Exit1", "&Exit");
    RunProgram1 = AddAction("RunProgram1", "Run &Program", "Run Program", CommandIcon::RunProgram);
    RunEmulator1 = AddAction("RunEmulator1", "Run &Emulator", "Run Emulator", CommandIcon::RunEmulator);
    New1 = AddAction("New1", "&New", "New Program", CommandIcon::NewProgram);
    Edit1 = AddAction("Edit1", "&Edit", "Edit Program", CommandIcon::EditProgram);
    Delete1 = AddAction("Delete1", "&Delete", "Delete Program", CommandIcon::DeleteProgram);
    AddFolder1 = AddAction("AddFolder1", "Add &Folder...");
    MoveCatalogue1 = AddAction("MoveCatalogue1", "&Move Catalogue...");
    Categories1 = AddAction("Categories1", "&Categories", "Edit Categories", CommandIcon::Categories);
    Emulators1 = AddAction("Emulators1", "&Emulators", "Edit Emulators", CommandIcon::Emulators);
    Filters1 = AddAction("Filters1", "&Filters", "Edit Filters", CommandIcon::Filters);
    Options1 = AddAction("Options1", "&Options", "Edit Options", CommandIcon::Options);
    Contents1 = AddAction("Contents1", "&Contents");
    About1 = AddAction("About1", "&About");
    Find1 = AddAction("Find1", "F&ind...", "Find Program"); // "Add &Folder..." has the F
    Find1->setShortcut(QKeySequence::Find);
}

void TMainForm::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(Save1);
    file->addSeparator();
    file->addAction(MoveCatalogue1);
    file->addSeparator();
    file->addActions({ProgramsReport1, CompatibilityReport1, LinksReport1});
    file->addSeparator();
    file->addAction(Exit1);
    menuBar()->addMenu(QStringLiteral("&Run"))->addActions({RunProgram1, RunEmulator1});
    QMenu* programs = menuBar()->addMenu(QStringLiteral("&Programs"));
    programs->addActions({New1, Edit1, Delete1});
    programs->addSeparator();
    programs->addActions({AddFolder1, Find1});
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addActions({Categories1, Emulators1, Filters1});
    edit->addSeparator();
    edit->addAction(Options1);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(Contents1);
    help->addSeparator();
    help->addAction(About1);
}

void TMainForm::CreateToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kToolBarHeight);
    bar->setIconSize(QSize(21, 21));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);

    // The selectors are 135 and 95 wide at least, and share what room the toolbar has left
    // (up to a width where long names show whole), so that a name such as "Fake BeebEm"
    // is not cut.
    ComboBox1 = new QComboBox(bar);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setMinimumWidth(135);
    ComboBox1->setMaximumWidth(300);
    ComboBox2 = new QComboBox(bar);
    ComboBox2->setObjectName("ComboBox2");
    ComboBox2->setMinimumWidth(95);
    ComboBox2->setMaximumWidth(240);
    for (QComboBox* selector : {ComboBox1, ComboBox2}) {
        selector->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        selector->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        selector->setEditable(true);
        selector->setInsertPolicy(QComboBox::NoInsert);
        selector->setCompleter(nullptr);
        // Leaving a selector (or Enter in it) with a text that names an entry would make
        // QComboBox pick that entry; only a pick from the list is a pick here, and a typed
        // valid name does not rebuild the program list.
        QObject::disconnect(selector->lineEdit(), &QLineEdit::editingFinished, selector, nullptr);
        // A file dropped on a selector is the window's drop, never text pasted into it.
        selector->lineEdit()->setAcceptDrops(false);
    }

    bar->addActions({RunProgram1, RunEmulator1});
    bar->addSeparator();
    bar->addWidget(ComboBox1);
    bar->addSeparator();
    bar->addWidget(ComboBox2);
    bar->addSeparator();
    bar->addActions({New1, Edit1, Delete1});
    bar->addSeparator();
    bar->addActions({Categories1, Emulators1, Filters1});
    bar->addSeparator();
    bar->addAction(Options1);

    int number = 1;
    for (QAction* action : bar->actions()) {
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
            button->setObjectName(QString(QStringLiteral("ToolButton%1")).arg(number++));
            button->setAutoRaise(true);
            button->setFixedSize(29, 29);
        }
    }
}

// The client area: the list area (the find field over the program list) and the details
// panel side by side in a splitter, which the user may move. At the first-start size they
// stand where the fixed window had them: the list 247 x 322 at 44 from the toolbar's top,
// the panel 384 x 328 at (251, 38). A larger window gives the list the extra height and
// shares the extra width between the list and the panel.
void TMainForm::CreateCentralArea()
{
    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    central->setFixedSize(kClientWidth, kCentralHeight);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setHandleWidth(4);
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1);

    listArea_ = new QWidget(Splitter1);
    listArea_->setObjectName("ListArea");
    listArea_->setMinimumWidth(120);
    auto* listLayout = new QVBoxLayout(listArea_);
    listLayout->setContentsMargins(0, 44 - kToolBarHeight, 0, 1);
    listLayout->setSpacing(4);
    listLayout->addWidget(CreateFindBar(listArea_));
    listModel_ = new ProgramTableModel(this);
    ListView1 = new ProgramListView(listArea_);
    ListView1->setObjectName("ListView1");
    ListView1->setModel(listModel_);
    ListView1->setColumnWidth(0, 100);
    ListView1->setColumnWidth(1, 127);
    ListView1->setColumnHidden(2, true);
    ListView1->header()->setMaximumSectionSize(300);
    ListView1->WidenColumnsBeyond(247);
    listLayout->addWidget(ListView1);

    auto* detailsArea = new QWidget(Splitter1);
    detailsArea->setObjectName("DetailsArea");
    detailsArea->setMinimumWidth(200);
    auto* detailsLayout = new QVBoxLayout(detailsArea);
    detailsLayout->setContentsMargins(0, 38 - kToolBarHeight, 1, 1);
    PageControl1 = new DetailsPanel(detailsArea);
    detailsLayout->addWidget(PageControl1);
    FollowPanelSize(PageControl1);

    Splitter1->addWidget(listArea_);
    Splitter1->addWidget(detailsArea);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({247, 384 + 1});
    CreateEmptyCatalogueHint();
}

void TMainForm::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setFixedHeight(kStatusBarHeight);
    bar->setSizeGripEnabled(false);
    // The design widths suit a small font; a panel whose fixed text does not fit in the
    // platform's font is widened, and the room is taken from the program type's panel,
    // which has the most to spare.
    int widths[5] = {191, 57, 33, 20, 200};
    const char* const longest[5] = {nullptr, " Favourite", " E00", "!", "1000000 Programs  "};
    const Qt::Alignment alignments[5] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (int i = 1; i < 5; ++i) {
        QLabel probe;
        probe.setFrameShape(QFrame::Panel);
        const int needed = probe.fontMetrics().horizontalAdvance(QString::fromLatin1(longest[i]))
            + 2 * probe.frameWidth() + 2 * probe.margin() + 4;
        if (needed > widths[i]) {
            widths[0] -= needed - widths[i];
            widths[i] = needed;
        }
    }
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QString(QStringLiteral("StatusPanel%1")).arg(i + 1));
        panel->setTextFormat(Qt::PlainText);
        panel->setFixedWidth(widths[i]);
        panel->setAlignment(alignments[i] | Qt::AlignVCenter);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        bar->addWidget(panel);
        statusPanels_[i] = panel;
    }
}

void TMainForm::ConnectWidgets()
{
    connect(Save1, &QAction::triggered, this, &TMainForm::Save1Click);
    connect(Exit1, &QAction::triggered, this, &TMainForm::Exit1Click);
    connect(RunProgram1, &QAction::triggered, this, [this] { LaunchProgram(LaunchMode::ListItem); });
    connect(RunEmulator1, &QAction::triggered, this, [this] { LaunchProgram(LaunchMode::NoProgram); });
    connect(Contents1, &QAction::triggered, this, &TMainForm::Contents1Click);
    connect(About1, &QAction::triggered, this, &TMainForm::About1Click);
    connect(New1, &QAction::triggered, this, &TMainForm::New1Click);
    connect(AddFolder1, &QAction::triggered, this, &TMainForm::AddFolder1Click);
    connect(MoveCatalogue1, &QAction::triggered, this, &TMainForm::MoveCatalogue1Click);
    connect(Edit1, &QAction::triggered, this, &TMainForm::Edit1Click);
    connect(Delete1, &QAction::triggered, this, &TMainForm::Delete1Click);
    connect(Categories1, &QAction::triggered, this, &TMainForm::Categories1Click);
    connect(Emulators1, &QAction::triggered, this, &TMainForm::Emulators1Click);
    connect(Filters1, &QAction::triggered, this, &TMainForm::Filters1Click);
    connect(Options1, &QAction::triggered, this, &TMainForm::Options1Click);
    connect(ProgramsReport1, &QAction::triggered, this, &TMainForm::ProgramsReport1Click);
    connect(CompatibilityReport1, &QAction::triggered, this, &TMainForm::CompatibilityReport1Click);
    connect(LinksReport1, &QAction::triggered, this, &TMainForm::LinksReport1Click);
    connect(Find1, &QAction::triggered, this, &TMainForm::Find1Click);
    connect(FindEdit1, &QLineEdit::textChanged, this, &TMainForm::FindEdit1Change);
    FindEdit1->installEventFilter(this);

    connect(ComboBox1, &QComboBox::activated, this, &TMainForm::ComboBox1Change);
    connect(ComboBox2, &QComboBox::activated, this, &TMainForm::ComboBox2Change);
    // The catalogue's last filter and emulator are the two selectors' texts, which the save
    // writes: kept up to date with every change, whether chosen, typed or set by a command.
    connect(ComboBox1, &QComboBox::currentTextChanged, this, [this] { catalogue_.LastFilter = FilterText(); });
    connect(ComboBox2, &QComboBox::currentTextChanged, this, [this] { catalogue_.LastEmu = EmulatorText(); });
    for (QComboBox* selector : {ComboBox1, ComboBox2}) {
        selector->installEventFilter(this);
        selector->lineEdit()->installEventFilter(this);
    }

    connect(ListView1, &ProgramListView::Clicked, this, &TMainForm::ListView1Click);
    connect(ListView1, &ProgramListView::DoubleClicked, this, &TMainForm::ListView1DblClick);
    connect(ListView1, &ProgramListView::KeyDown, this, &TMainForm::ListView1KeyDown);
    connect(ListView1, &ProgramListView::KeyUp, this, &TMainForm::ListView1KeyUp);
    connect(ListView1, &ProgramListView::ContextMenuAsked, this, &TMainForm::ListView1ContextMenu);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, &TMainForm::ListView1ColumnClick);
    connect(PageControl1, &DetailsPanel::LinkClicked, this, &TMainForm::LinkClick);
}

// In the order the windows of the program are created. The toolbar's pictures are drawn
// in code (CommandIcons), so there is no window holding them.
void TMainForm::CreateForms()
{
    singleEmuOptionsForm_ = new TSingleEmuOptionsForm(catalogue_, prompts_, shell_, this);
    emuOptionsForm_ = new TEmuOptionsForm(catalogue_, *singleEmuOptionsForm_, this);
    listsForm_ = new TListsForm(catalogue_, prompts_, shell_, this);
    linksForm_ = new TLinksForm(catalogue_, prompts_, this);
    singleProgramOptionsForm_ = new TSingleProgramOptionsForm(catalogue_, prompts_, shell_, *linksForm_, this);
    singleFilterOptionsForm_ = new TSingleFilterOptionsForm(catalogue_, prompts_, shell_, this);
    filterOptionsForm_ = new TFilterOptionsForm(catalogue_, *singleFilterOptionsForm_, this);
    optionsForm_ = new TOptionsForm(catalogue_, prompts_, shell_, this);
    linksReportForm_ = new TLinksReportForm(catalogue_, this);
    programsReportForm_ = new TProgramsReportForm(catalogue_, this);
    compatibilityReportForm_ = new TCompatibilityReportForm(catalogue_, this);
    splashForm_ = new TSplashForm(catalogue_.AppDir, shell_, this);
    exitForm_ = new TExitForm(this);
    addFolderForm_ = new TAddFolderForm(catalogue_, prompts_, this);
    moveCatalogueForm_ = new TMoveCatalogueForm(catalogue_, prompts_, this);
}

void TMainForm::SetCommandEnabled(QAction* action, bool enabled)
{
    action->setEnabled(enabled);
}

std::string TMainForm::FilterText() const
{
    return Text(ComboBox1);
}

std::string TMainForm::EmulatorText() const
{
    return Text(ComboBox2);
}

TMainForm::TimePoint TMainForm::Now() const
{
    return shell_.Now();
}

void TMainForm::NoteDialogTime()
{
    lastDialogTime_ = Now();
}

} // namespace vorbix::gui
