// The main window's shape (menus, toolbar, status bar, layout) and the window events that
// depend on real focus changes, mouse buttons and the order of refreshes.

#include "support/RunProcess.h"
#include "support/Writers.h"
#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "mainwindow/DetailsPanel.h"
#include "mainwindow/ExitUnit.h"
#include "mainwindow/SplashUnit.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/FileSystem.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>

using namespace vorbix;
using namespace vorbix::test;
using namespace std::chrono_literals;

namespace {

using MainWindowShape = WindowTest;
using WindowEvents = WindowTest;
using StartUpAndShutDown = WindowTest;

int RowCount(const StartedWindow& w)
{
    return w.List()->model()->rowCount();
}

void SelectRow(const StartedWindow& w, int row)
{
    w.List()->setCurrentIndex(w.List()->model()->index(row, 0));
    w.form->RefreshDetails();
}

// Makes the window the active one, so that focus changes happen as for a user.
// The texts of a menu's items in order, "-" for a separator.
std::vector<std::string> MenuItems(const QMenu* menu)
{
    std::vector<std::string> items;
    for (const QAction* action : menu->actions())
        items.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return items;
}

} // namespace

TEST_F(MainWindowShape, MenusCarryTheCaptionsAccessKeysAndSeparatorsWithoutShortcuts)
{
    StartedWindow& w = Start();
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> menus;
    for (const QAction* action : w.form->menuBar()->actions()) {
        titles.push_back(action->text().toStdString());
        menus.push_back(MenuItems(action->menu()));
        for (const QAction* item : action->menu()->actions()) {
            if (item->objectName() != QLatin1String("Find1")) {
                EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
            }
        }
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Run", "&Programs", "&Edit", "&Help"}));
    ASSERT_EQ(menus.size(), 5u);
    EXPECT_EQ(menus[0],
        (std::vector<std::string>{"&Save", "-", "&Move Catalogue...", "-", "&Programs Report", "&Compatibility Report",
            "&Links Report", "-", "&Exit"}));
    EXPECT_EQ(menus[1], (std::vector<std::string>{"Run &Program", "Run &Emulator"}));
    EXPECT_EQ(menus[2], (std::vector<std::string>{"&New", "&Edit", "&Delete", "-", "Add &Folder...", "F&ind..."}));
    EXPECT_EQ(w.Find<QAction>("Find1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(menus[3], (std::vector<std::string>{"&Categories", "&Emulators", "&Filters", "-", "&Options"}));
    EXPECT_EQ(menus[4], (std::vector<std::string>{"&Contents", "-", "&About"}));

    // The items of the Run, Programs and Edit menus show icons, with a greyed variant.
    for (const char* name : {"RunProgram1", "RunEmulator1", "New1", "Edit1", "Delete1", "Categories1", "Emulators1",
             "Filters1", "Options1"}) {
        const QAction* action = w.Find<QAction>(name);
        ASSERT_FALSE(action->icon().isNull()) << name;
        EXPECT_TRUE(action->isIconVisibleInMenu()) << name;
        const QImage normal = action->icon().pixmap(21, 21, QIcon::Normal).toImage();
        const QImage greyed = action->icon().pixmap(21, 21, QIcon::Disabled).toImage();
        EXPECT_NE(normal, greyed) << name;
    }
    for (const char* name : {"Save1", "Exit1", "Contents1", "About1"})
        EXPECT_FALSE(w.Find<QAction>(name)->isIconVisibleInMenu()) << name;
}

TEST_F(MainWindowShape, ToolbarOrderHintsAndSelectorWidths)
{
    StartedWindow& w = Start();
    const auto* bar = w.Find<QToolBar>("ToolBar1");
    std::vector<std::string> items;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator()) {
            items.push_back("|");
        } else if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
            items.push_back(button->toolTip().toStdString());
            EXPECT_EQ(button->size(), QSize(29, 29));
            EXPECT_TRUE(button->autoRaise());
            EXPECT_FALSE(button->icon().isNull());
        } else {
            items.push_back(bar->widgetForAction(action)->objectName().toStdString());
        }
    }
    EXPECT_EQ(items,
        (std::vector<std::string>{"Run Program", "Run Emulator", "|", "ComboBox1", "|", "ComboBox2", "|", "New Program",
            "Edit Program", "Delete Program", "|", "Edit Categories", "Edit Emulators", "Edit Filters", "|",
            "Edit Options"}));
    // The selectors are at least their design widths, and take what room the toolbar has
    // left: an emulator named "Fake BeebEm" shows whole, at the first size and larger.
    auto* filters = w.Find<QComboBox>("ComboBox1");
    auto* emulators = w.Find<QComboBox>("ComboBox2");
    EXPECT_GE(filters->width(), 135);
    EXPECT_GE(emulators->width(), 95);
    const int name = emulators->lineEdit()->fontMetrics().horizontalAdvance(QStringLiteral("Fake BeebEm"));
    EXPECT_GE(emulators->lineEdit()->width(), name + 4);
    const QWidget* last = bar->widgetForAction(bar->actions().back());
    EXPECT_LE(last->geometry().right(), bar->width()); // nothing goes behind the edge
    w.form->resize(w.form->width() + 200, w.form->height());
    QApplication::processEvents();
    EXPECT_GT(filters->width() + emulators->width(), 135 + 95 + 100);
    EXPECT_EQ(bar->height(), 33);
}

TEST_F(MainWindowShape, LayoutStatusPanelsAndTheFixedWindow)
{
    StartedWindow& w = Start();
    EXPECT_EQ(w.Find<QWidget>("ClientArea")->width(), 636);
    EXPECT_EQ(w.Find<QWidget>("ClientArea")->height() + 33 + 19, 386);
    EXPECT_EQ(w.List()->size(), QSize(247, 322));
    EXPECT_EQ(w.List()->mapTo(w.form.get(), QPoint(0, 0)).y() - w.Find<QToolBar>("ToolBar1")->y(), 44);
    EXPECT_EQ(w.form->Details()->size(), QSize(384, 328));
    EXPECT_EQ(w.form->Details()->mapTo(w.form.get(), QPoint(0, 0)) - QPoint(0, w.Find<QToolBar>("ToolBar1")->y()),
        QPoint(251, 38));
    EXPECT_EQ(w.List()->columnWidth(0), 100);
    EXPECT_EQ(w.List()->columnWidth(1), 127);
    EXPECT_EQ(w.List()->model()->headerData(0, Qt::Horizontal).toString(), "Publisher");
    EXPECT_EQ(w.List()->model()->headerData(1, Qt::Horizontal).toString(), "Program");

    // Each panel is at least its design width and shows its fixed text whole in the
    // platform's font; what a widened panel takes comes from the type's panel, so the five
    // still fill the design's 501 pixels.
    const int widths[5] = {191, 57, 33, 20, 200};
    const char* const texts[5] = {" Arcade Adventure", " Favourite", " E00", "!", "100000 Programs  "};
    int total = 0;
    for (int i = 0; i < 5; ++i) {
        const QLabel* panel = w.Find<QLabel>(("StatusPanel" + std::to_string(i + 1)).c_str());
        total += panel->width();
        if (i > 0) {
            EXPECT_GE(panel->width(), widths[i]) << i;
        }
        EXPECT_LE(panel->fontMetrics().horizontalAdvance(texts[i]), panel->contentsRect().width()) << texts[i];
    }
    EXPECT_EQ(total, 501);
    EXPECT_TRUE(w.Find<QLabel>("StatusPanel4")->alignment().testFlag(Qt::AlignHCenter));
    EXPECT_TRUE(w.Find<QLabel>("StatusPanel5")->alignment().testFlag(Qt::AlignRight));
    EXPECT_EQ(w.form->statusBar()->height(), 19);

    EXPECT_EQ(w.form->minimumSize(), w.form->size()); // the first size is the smallest
    EXPECT_GT(w.form->maximumSize().width(), 10000);
    EXPECT_TRUE(w.form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(w.form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(w.form->acceptDrops());

    const QStringList tabs{w.form->Details()->tabText(0), w.form->Details()->tabText(1), w.form->Details()->tabText(2)};
    EXPECT_EQ(tabs, (QStringList{"Picture", "Box cover", "Information"}));
}

TEST_F(MainWindowShape, TheWindowIsCentredOnTheDesktopWhenFirstShown)
{
    StartedWindow& w = Start();
    const QRect desktop = w.form->screen()->availableGeometry();
    const QPoint offset = w.form->frameGeometry().center() - desktop.center();
    EXPECT_LE(std::abs(offset.x()), 1) << offset.x();
    EXPECT_LE(std::abs(offset.y()), 1) << offset.y();
}

// The window grows (never below its first size): the list takes the extra height and
// shares the extra width with the details panel, whose pictures grow with it. Its size,
// place and split are written to the user's settings when the run ends, read back by the
// next window, and never into the catalogue files; settings that make no sense give the
// first size, centred.
TEST_F(MainWindowShape, TheWindowGrowsAndIsRememberedInTheUsersSettings)
{
    const std::string settings = dir / "config/vorbix/vorbix.conf";
    StartedWindow& w = Start(SixPrograms(), false);
    w.form->UseWindowSettings(settings);
    w.form->show();
    QApplication::processEvents();
    const QSize first = w.form->size();
    const QSize list = w.List()->size();
    const QSize panel = w.form->Details()->size();
    w.form->resize(first + QSize(140, 100));
    QApplication::processEvents();
    EXPECT_EQ(w.List()->height(), list.height() + 100);
    EXPECT_EQ(w.form->Details()->height(), panel.height() + 100);
    EXPECT_EQ(w.List()->width() - list.width() + w.form->Details()->width() - panel.width(), 140);
    EXPECT_GE(w.List()->width() - list.width(), 40); // in proportion to the widths
    EXPECT_GE(w.form->Details()->width() - panel.width(), 40);
    // The columns widen with the list, in proportion.
    EXPECT_GT(w.List()->columnWidth(0), 100);
    EXPECT_GT(w.List()->columnWidth(1), w.List()->columnWidth(0));
    EXPECT_LE(w.List()->columnWidth(0) + w.List()->columnWidth(1), w.List()->width());
    const QSize growth = w.form->Details()->size() - panel;
    EXPECT_EQ(w.Find<QWidget>("Image1")->size(), QSize(375, 300) + growth);
    EXPECT_EQ(w.Find<QWidget>("Image2")->size(), QSize(375, 300) + growth);

    w.form->resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(w.form->size(), first);
    EXPECT_EQ(w.List()->columnWidth(0), 100);
    EXPECT_EQ(w.List()->columnWidth(1), 127);
    w.form->resize(first + QSize(120, 90));
    w.form->move(20, 30);
    auto* split = w.Find<QSplitter>("Splitter1");
    split->setSizes({300, split->width() - split->handleWidth() - 300});
    QApplication::processEvents();
    const QList<int> sizes = split->sizes();
    ASSERT_EQ(sizes.front(), 300);
    const QPoint place = w.form->pos();
    EXPECT_TRUE(w.form->close());
    ASSERT_TRUE(std::filesystem::exists(settings));
    for (const char* file : {"Data/programs.xml", "Data/options.xml"})
        EXPECT_EQ(dir.Read(file).find("Geometry"), std::string::npos) << file;

    StartedWindow& again = Start(false);
    again.form->UseWindowSettings(settings);
    again.form->show();
    QApplication::processEvents();
    EXPECT_EQ(again.form->size(), first + QSize(120, 90));
    EXPECT_EQ(again.form->pos(), place);
    EXPECT_EQ(again.Find<QSplitter>("Splitter1")->sizes(), sizes);
    EXPECT_EQ(again.List()->width(), 300);

    dir.Write("config/vorbix/vorbix.conf", "[MainWindow]\nGeometry=@ByteArray(junk)\nSplit=7\n");
    StartedWindow& third = Start(false);
    third.form->UseWindowSettings(settings);
    third.form->show();
    QApplication::processEvents();
    EXPECT_EQ(third.form->size(), first);
    EXPECT_EQ(third.List()->size(), list);
}

TEST_F(WindowEvents, TypingAValidFilterNameAndLeavingDoesNotRebuildTheList)
{
    StartedWindow& w = Start(SixPrograms());
    Activate(w.form.get());
    SelectRow(w, 4);
    ASSERT_EQ(w.SelectedName(), "Moonraider");

    auto* filters = w.Find<QComboBox>("ComboBox1");
    filters->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(filters->hasFocus());
    filters->lineEdit()->selectAll();
    QTest::keyClicks(filters->lineEdit(), "Acornsoft only");
    QTest::keyClick(filters->lineEdit(), Qt::Key_Return); // Enter in the selector is no pick either
    w.List()->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(w.List()->hasFocus());
    EXPECT_EQ(filters->currentText(), "Acornsoft only");
    EXPECT_EQ(RowCount(w), 6);
    EXPECT_EQ(w.SelectedName(), "Moonraider");

    // A text that names no filter becomes "all" on leaving, with a rebuild.
    filters->setFocus();
    QApplication::processEvents();
    filters->lineEdit()->selectAll();
    QTest::keyClicks(filters->lineEdit(), "Acorn");
    w.List()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(filters->currentText(), "all");
    EXPECT_EQ(w.SelectedName(), "Elite");
}

TEST_F(WindowEvents, PickingAnEntryByArrowKeyInTheClosedSelectorRebuilds)
{
    StartedWindow& w = Start(SixPrograms());
    Activate(w.form.get());
    auto* filters = w.Find<QComboBox>("ComboBox1");
    filters->setFocus();
    QTest::keyClick(filters, Qt::Key_Down);
    EXPECT_EQ(filters->currentText(), "Acornsoft only");
    EXPECT_EQ(RowCount(w), 2);
}

TEST_F(WindowEvents, SwitchingToAnotherApplicationIsNoLossOfFocusForTheSelectors)
{
    StartedWindow& w = Start(SixPrograms());
    auto* emulators = w.Find<QComboBox>("ComboBox2");
    emulators->setEditText("Beeb"); // half typed
    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(emulators, &deactivated);
    EXPECT_EQ(emulators->currentText(), "Beeb");

    QFocusEvent tabbedAway(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(emulators, &tabbedAway);
    EXPECT_EQ(emulators->currentText(), "");
}

// The view's own incremental search goes by the first column; the details must not show
// (or report a damaged picture of) the row it lands on before the type-ahead moves on.
TEST_F(WindowEvents, TypeAheadRefreshesTheDetailsOnlyForTheRowItSettlesOn)
{
    Catalogue catalogue;
    catalogue.ProgramList = {MakeProgram("Bug Byte", "Zalaga", "Game", dir / "Zalaga.ssd"),
        MakeProgram("Acornsoft", "Elite", "Game", dir / "Elite.ssd"),
        MakeProgram("Xor", "Boffin", "Game", dir / "Boffin.ssd")};
    dir.Write("Zalaga.jpg", "no JPEG at all");
    StartedWindow& w = Start(catalogue);
    w.ClickHeader(1); // Boffin, Elite, Zalaga
    SelectRow(w, 1);
    ASSERT_EQ(w.SelectedName(), "Elite");

    QTest::keyClick(w.List(), Qt::Key_B); // wraps to Boffin; the publisher "Bug Byte" is no hit
    EXPECT_EQ(w.SelectedName(), "Boffin");
    EXPECT_TRUE(w.prompts.shown.empty()) << w.prompts.Texts()[0];
    EXPECT_EQ(w.Panel(5), "3 Programs  ");

    QTest::keyClick(w.List(), Qt::Key_Z);
    EXPECT_EQ(w.SelectedName(), "Zalaga");
    EXPECT_EQ(w.prompts.Texts(), (std::vector<std::string>{"Error loading file " + dir / "Zalaga.jpg"}));
}

TEST_F(WindowEvents, DoubleClickLaunchesTheClickedRowAndNothingWithoutARow)
{
    Catalogue catalogue = SixPrograms();
    catalogue.LastEmu = "NoSuchEmu"; // a launch stops at once with "No emulator selected"
    StartedWindow& w = Start(catalogue);
    QTreeView* list = w.List();
    const QRect second = list->visualRect(list->model()->index(1, 1));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(w.SelectedName(), "meteors");
    EXPECT_EQ(w.prompts.Errors(), (std::vector<std::string>{"No emulator selected"}));

    // Below the last row: the selection goes, and nothing is launched.
    w.Find<QComboBox>("ComboBox2")->setEditText("NoSuchEmu");
    const QPoint below(5, list->viewport()->height() - 3);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(w.form->SelectedPIdx(), -1);
    EXPECT_EQ(w.prompts.Errors().size(), 1u);

    // A single click there clears the selection too, and the details follow.
    SelectRow(w, 2);
    ASSERT_EQ(w.Panel(5), "6 Programs  ");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(w.form->SelectedPIdx(), -1);
    EXPECT_EQ(w.Panel(5), "");
    EXPECT_FALSE(w.Enabled("RunProgram1"));
}

TEST_F(WindowEvents, EnterWithoutASelectedRowLaunchesNothing)
{
    Catalogue catalogue = SixPrograms();
    catalogue.LastEmu = "NoSuchEmu";
    StartedWindow& w = Start(catalogue);
    w.shell.FixedNow = std::chrono::system_clock::now() + 1s;
    w.form->RevealListRow(-1);
    QTest::keyClick(w.List(), Qt::Key_Return);
    EXPECT_TRUE(w.prompts.shown.empty());
}

TEST_F(WindowEvents, OnlyALeftClickOnALinkOpensItAndTheFocusGoesToTheList)
{
    Catalogue catalogue;
    ProgramRecord program = MakeProgram("A", "Linked");
    program.DocLinkNames = {"Manual"};
    program.DocLinkUrls = {dir / "Manual.txt"};
    catalogue.ProgramList = {program};
    dir.Write("Manual.txt", "read me");
    StartedWindow& w = Start(catalogue);
    Activate(w.form.get());
    w.form->Details()->ShowTab(DetailsTab::Information);
    auto* left = w.Find<QListWidget>("ListView2");
    const QPoint entry = left->visualItemRect(left->item(0)).center();

    QTest::mouseClick(left->viewport(), Qt::RightButton, {}, entry);
    EXPECT_TRUE(w.shell.opened.empty());
    EXPECT_TRUE(w.prompts.shown.empty());

    left->setFocus();
    QTest::mouseClick(left->viewport(), Qt::LeftButton, {}, entry);
    EXPECT_EQ(w.shell.opened, (std::vector<std::string>{dir / "Manual.txt"}));
    EXPECT_TRUE(w.List()->hasFocus());

    // A click on the empty area of a column only moves the focus.
    left->setFocus();
    QTest::mouseClick(left->viewport(), Qt::LeftButton, {}, QPoint(5, left->viewport()->height() - 3));
    EXPECT_EQ(w.shell.opened.size(), 1u);
    EXPECT_TRUE(w.prompts.shown.empty());
    EXPECT_TRUE(w.List()->hasFocus());
}

TEST_F(WindowEvents, AnUnexpectedErrorDuringTheSplashKeepsTheWindowHidden)
{
    StartedWindow& w = Start(SixPrograms(), false);
    const gui::ErrorHandlerScope errors([&w](const std::string& message) { w.form->EndWithoutSaving(message); });
    // One handler at a time: a second is refused, not silently put in the first one's place.
    EXPECT_THROW(gui::ErrorHandlerScope([](const std::string&) {}), std::logic_error);
    w.form->SetSplashMinimum(300ms);
    QTimer::singleShot(0, [] { throw std::runtime_error("Out of luck"); });
    w.form->show();
    ASSERT_EQ(w.prompts.Texts(), (std::vector<std::string>{"Out of luck."}));
    EXPECT_EQ(w.prompts.shown[0].request.Caption, "Vorbix");
    EXPECT_TRUE(w.form->EndedByError());
    EXPECT_FALSE(w.form->isVisible());
    EXPECT_FALSE(w.form->SplashForm()->isVisible());
}

TEST(VorbixProgram, AnUnexpectedErrorInScreenshotModeEndsWithAMessageNotACrash)
{
    TempDir dir;
    dir.Write("Options.ini", "");
    dir.Write("Programs.ini", "many\r\n"); // a legacy count that is no number
    const ProcessOutput run = RunProcess({VORBIX_GUI_PATH, "--appdir", dir.path(), "--screenshot", dir / "shot.png"},
        {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("'many' is not a valid integer value."), std::string::npos) << run.err;
    EXPECT_FALSE(dir.Exists("shot.png"));
    EXPECT_FALSE(dir.Exists("Data/options.xml"));
}

TEST_F(StartUpAndShutDown, AFirstStartWithNoFilesIsSilentAndTheExitWritesOnlyTheOptionsFile)
{
    StartedWindow& w = Start();
    EXPECT_TRUE(w.prompts.shown.empty());
    EXPECT_EQ(RowCount(w), 0);
    EXPECT_EQ(w.Find<QComboBox>("ComboBox1")->currentText(), "all");
    EXPECT_EQ(w.form->FilterSelectorItems(), (StringList{"all"}));
    EXPECT_FALSE(w.Enabled("RunProgram1"));
    EXPECT_FALSE(w.Enabled("RunEmulator1"));
    EXPECT_FALSE(w.catalogue.DfsRomsPresent);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the busy pointer is gone

    w.Find<QAction>("Exit1")->trigger();
    EXPECT_TRUE(w.form->Ended());
    EXPECT_TRUE(dir.Exists("Data/options.xml"));
    EXPECT_FALSE(dir.Exists("Data/programs.xml"));
    EXPECT_FALSE(w.form->ExitForm()->isVisible());
}

TEST_F(StartUpAndShutDown, LegacyFilesAreImportedAndWrittenAsXmlBehindTheExitWindowAtTheClose)
{
    dir.Write("Options.ini", "1\n0\nAcornsoft\n\n\n\nall\n\nfalse\n\n\nfalse\nfalse\n\n");
    dir.Write("Programs.ini", "1\nElite\n/g/Elite.ssd\nAcornsoft\nSpace\nFalse\nFalse\n0\n0\n");
    StartedWindow& w = Start();
    ASSERT_EQ(RowCount(w), 1);
    EXPECT_EQ(w.SelectedName(), "Elite");
    EXPECT_EQ(w.Panel(1), " Space");
    EXPECT_EQ(w.Panel(5), "1 Programs  ");
    EXPECT_TRUE(w.catalogue.ProgramsChanged);
    // The legacy import counts nothing on the splash.
    EXPECT_EQ(w.form->SplashForm()->findChild<QLabel*>("Label6")->text(), "Loading programs...");

    bool exitWindowStood = false;
    WatchingWriter writer;
    writer.OnWrite = [&](const std::string&) {
        exitWindowStood = exitWindowStood
            || (w.form->ExitForm()->isVisible() && !w.form->isVisible() && w.form->ExitForm()->windowTitle() == "Vorbix"
                && w.form->ExitForm()->findChild<QLabel*>()->text() == "Saving data...");
    };
    w.form->SetFileWriter(writer);
    EXPECT_TRUE(w.form->close());
    EXPECT_TRUE(exitWindowStood);
    EXPECT_NE(dir.Read("Data/programs.xml").find("Elite"), std::string::npos);
    EXPECT_TRUE(dir.Exists("Data/options.xml"));

    // The next start reads the XML files, whatever the INI files say.
    dir.Write("Programs.ini", "0\n");
    StartedWindow& next = Start();
    EXPECT_EQ(RowCount(next), 1);
    EXPECT_FALSE(next.catalogue.ProgramsChanged);
    // The programs file's loader counts on the splash's status line.
    EXPECT_EQ(next.form->SplashForm()->findChild<QLabel*>("Label6")->text(), "Loading programs: 1");
}

TEST_F(StartUpAndShutDown, ADamagedProgramsFileIsCopiedAsideAtStartUpBeforeASaveReplacesIt)
{
    WriteAppDir(SixPrograms(), dir.path());
    const std::string whole = dir.Read("Data/programs.xml");
    const std::string damaged = whole.substr(0, whole.rfind("    </program>"));
    dir.Write("Data/programs.xml", damaged);
    StartedWindow& w = Start();
    const std::string path = dir / "Data/programs.xml";
    ASSERT_FALSE(w.prompts.shown.empty());
    EXPECT_EQ(w.prompts.shown[0].request.Text,
        "File " + path
            + " is damaged: the file ends inside the 6th <program>. "
              "What could be read was loaded (5 programs, the last of them Moonraider); the file was copied to "
            + path + ".damaged-1.");
    EXPECT_EQ(dir.Read("Data/programs.xml.damaged-1"), damaged);
    w.Find<QAction>("Save1")->trigger();
    EXPECT_NE(dir.Read("Data/programs.xml"), damaged);
    EXPECT_EQ(dir.Read("Data/programs.xml.damaged-1"), damaged);
}

TEST_F(StartUpAndShutDown, AnErrorWhileLoadingTakesDownTheSplashAndTheBusyPointerBeforeTheBox)
{
    // Prompts that note what stands on screen when a box comes up.
    struct WatchingPrompts : FakePrompts {
        std::function<void()> OnShow;
        MessageAnswer ShowMessageBox(const MessageRequest& request) override
        {
            if (OnShow)
                OnShow();
            return FakePrompts::ShowMessageBox(request);
        }
    };
    dir.Write("Options.ini", "");
    dir.Write("Programs.ini", "many\r\n");
    Catalogue catalogue;
    catalogue.AppDir = dir.path();
    WatchingPrompts prompts;
    RecordingShell shell;
    {
        vorbix::gui::TMainForm form(catalogue, prompts, shell);
        form.SetSplashMinimum(0ms);
        bool splashUpAtTheBox = true;
        bool busyAtTheBox = true;
        prompts.OnShow = [&] {
            splashUpAtTheBox = form.SplashForm()->isVisible();
            busyAtTheBox = QApplication::overrideCursor() != nullptr;
        };
        QMetaObject::invokeMethod(
            &form, [&form] { form.show(); }, Qt::QueuedConnection);
        QApplication::processEvents();
        ASSERT_EQ(prompts.Texts(), (std::vector<std::string>{"'many' is not a valid integer value."}));
        EXPECT_FALSE(splashUpAtTheBox);
        EXPECT_FALSE(busyAtTheBox);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(form.EndedByError());
    }
    ClearQuitRequest(); // the handler ended the message loop
}
