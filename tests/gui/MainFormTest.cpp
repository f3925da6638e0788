#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "mainwindow/DetailsPanel.h"
#include "mainwindow/ExitUnit.h"
#include "mainwindow/SplashUnit.h"
#include "platform/FileSystem.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace vorbix;
using namespace vorbix::test;
using namespace std::chrono_literals;

namespace {

using MainForm = WindowTest;

std::vector<std::string> ProgramColumn(const StartedWindow& w)
{
    std::vector<std::string> names;
    QAbstractItemModel* model = w.List()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names.push_back(model->index(row, 1).data().toString().toStdString());
    return names;
}

void LoseFocus(QComboBox* selector)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(selector, &event);
}

} // namespace

TEST_F(MainForm, StartUpLoadsTheCatalogueFillsTheSelectorsAndSelectsTheFirstRow)
{
    Catalogue catalogue = SixPrograms();
    catalogue.LastFilter = "no such filter";
    dir.Write("DFSROMS/E00DFS.ROM", "rom");
    StartedWindow& w = Start(catalogue);
    EXPECT_EQ(w.form->windowTitle(), "Vorbix");
    EXPECT_TRUE(w.form->isVisible());
    EXPECT_FALSE(w.form->SplashForm()->isVisible());
    EXPECT_EQ(w.form->FilterSelectorItems(), (StringList{"all", "Acornsoft only", "bbc none"}));
    EXPECT_EQ(w.form->EmulatorSelectorItems(), (StringList{"b2", "BeebEm"}));
    // A remembered filter that names no filter becomes "all"; the emulator stays.
    EXPECT_EQ(w.Find<QComboBox>("ComboBox1")->currentText(), "all");
    EXPECT_EQ(w.Find<QComboBox>("ComboBox2")->currentText(), "BeebEm");
    // Sorted by publisher (a to z upper-cased only), then by program name.
    EXPECT_EQ(ProgramColumn(w),
        (std::vector<std::string>{"Elite", "meteors", "Monsters", "Manic Miner", "Moonraider", "Repton"}));
    EXPECT_TRUE(w.List()->isColumnHidden(2));
    EXPECT_EQ(w.SelectedName(), "Elite");
    EXPECT_EQ(w.Panel(1), " Game");
    EXPECT_EQ(w.Panel(5), "6 Programs  ");
    EXPECT_EQ(w.form->Details()->ShownTab(), DetailsTab::Picture);
    EXPECT_TRUE(w.Enabled("RunProgram1"));
    EXPECT_TRUE(w.Enabled("RunEmulator1"));
    // Only one of the two DFS ROM images is present.
    EXPECT_FALSE(w.catalogue.DfsRomsPresent);
    EXPECT_TRUE(w.prompts.shown.empty());

    dir.Write("DFSROMS/DFS.ROM", "rom");
    StartedWindow& again = Start();
    EXPECT_TRUE(again.catalogue.DfsRomsPresent);
}

// The window waits on its shell's clock, processing events and sleeping 10 ms in turn. A
// 5 ms timer moves that clock on 100 ms each time the window processes events (it is due
// once after every sleep, and not again before the processing ends), so the wait ends at
// the first look at the clock after 2 s of it: after 20 steps, in about 0.2 s of real
// time. Had the window waited on the real clock, the fake one would run far past 2.1 s.
TEST_F(MainForm, TheSplashStandsAtLeastTwoSeconds)
{
    StartedWindow& w = Start(false);
    w.form->SetSplashMinimum(2000ms);
    const auto t0 = std::chrono::system_clock::now();
    w.shell.FixedNow = t0;
    bool splashStood = true; // at every step: the splash up, the window not yet
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] {
        splashStood = splashStood && w.form->SplashForm()->isVisible() && !w.form->isVisible();
        *w.shell.FixedNow += 100ms;
    });
    clock.start(5);
    w.form->show();
    clock.stop();
    EXPECT_TRUE(splashStood);
    EXPECT_GE(*w.shell.FixedNow - t0, 2000ms);
    EXPECT_LE(*w.shell.FixedNow - t0, 2100ms); // one slow pass may take a second step
    EXPECT_FALSE(w.form->SplashForm()->isVisible());
    EXPECT_TRUE(w.form->isVisible());
}

TEST_F(MainForm, HeaderClicksSortAndKeepTheSelectedProgram)
{
    StartedWindow& w = Start(SixPrograms());
    auto* list = w.List();
    list->setCurrentIndex(list->model()->index(3, 0)); // Manic Miner
    ASSERT_EQ(w.SelectedName(), "Manic Miner");

    w.ClickHeader(0); // publisher descending; equal publishers stay ascending by name
    EXPECT_EQ(ProgramColumn(w),
        (std::vector<std::string>{"Repton", "Moonraider", "Manic Miner", "Elite", "meteors", "Monsters"}));
    EXPECT_EQ(w.SelectedName(), "Manic Miner");
    EXPECT_EQ(w.Panel(5), "6 Programs  ");
    w.ClickHeader(0); // ascending again
    EXPECT_EQ(ProgramColumn(w).front(), "Elite");
    w.ClickHeader(0);
    w.ClickHeader(1); // program ascending, whatever the publisher direction was
    EXPECT_EQ(ProgramColumn(w),
        (std::vector<std::string>{"Elite", "Manic Miner", "meteors", "Monsters", "Moonraider", "Repton"}));
    EXPECT_EQ(w.SelectedName(), "Manic Miner");
    w.ClickHeader(1);
    EXPECT_EQ(ProgramColumn(w).front(), "Repton");
}

TEST_F(MainForm, TypeAheadFindsTheNextRowWithTheInitialAndWraps)
{
    StartedWindow& w = Start(SixPrograms());
    w.ClickHeader(1); // Elite, Manic Miner, meteors, Monsters, Moonraider, Repton
    auto* list = w.List();
    list->setCurrentIndex(list->model()->index(3, 0)); // Monsters
    QTest::keyClick(list, Qt::Key_M);
    EXPECT_EQ(w.SelectedName(), "Moonraider");
    QTest::keyClick(list, Qt::Key_M); // wraps to the top
    EXPECT_EQ(w.SelectedName(), "Manic Miner");
    EXPECT_EQ(w.Panel(5), "6 Programs  ");
    QTest::keyClick(list, Qt::Key_Z); // no row: the selection stays
    EXPECT_EQ(w.SelectedName(), "Manic Miner");
    QTest::keyClick(list, Qt::Key_E);
    EXPECT_EQ(w.SelectedName(), "Elite");
    // F1 is the virtual key 0x70, the character 'p' upper-cased: no program starts with P.
    QTest::keyClick(list, Qt::Key_F1);
    EXPECT_EQ(w.SelectedName(), "Elite");
    QTest::keyClick(list, Qt::Key_Down); // arrow keys move through the list's own handling
    EXPECT_EQ(w.SelectedName(), "Manic Miner");
}

TEST_F(MainForm, EnterLaunchesOnlyMoreThan300MillisecondsAfterADialogClosed)
{
    Catalogue catalogue = SixPrograms();
    catalogue.LastEmu = "NoSuchEmu"; // any launch stops at once with "No emulator selected"
    StartedWindow& w = Start(catalogue);
    const auto t0 = std::chrono::system_clock::now();
    w.shell.FixedNow = t0;
    w.form->ShowErrorBox("a dialog");
    ASSERT_EQ(w.form->LastDialogTime(), t0);

    w.shell.FixedNow = t0 + 300ms;
    QTest::keyClick(w.List(), Qt::Key_Return);
    EXPECT_EQ(w.prompts.Errors(), (std::vector<std::string>{"a dialog"}));

    w.shell.FixedNow = t0 + 301ms;
    QTest::keyClick(w.List(), Qt::Key_Return);
    EXPECT_EQ(w.prompts.Errors(), (std::vector<std::string>{"a dialog", "No emulator selected"}));
    // The launch cleared the emulator selector and disabled both run commands.
    EXPECT_EQ(w.Find<QComboBox>("ComboBox2")->currentText(), "");
    EXPECT_FALSE(w.Enabled("RunProgram1"));
    EXPECT_FALSE(w.Enabled("RunEmulator1"));
    // The error box of that launch counts as a dialog: an Enter right after it does nothing.
    QTest::keyClick(w.List(), Qt::Key_Return);
    EXPECT_EQ(w.prompts.Errors().size(), 2u);

    // So do a dialog of the window closed without OK and a question answered No.
    w.shell.FixedNow = t0 + 1s;
    WhileShown(*w.Find<QDialog>("OptionsForm"), [] {});
    w.Find<QAction>("Options1")->trigger();
    EXPECT_EQ(w.form->LastDialogTime(), t0 + 1s);
    w.shell.FixedNow = t0 + 2s;
    WhileShown(*w.Find<QDialog>("SingleProgramOptionsForm"), [] {});
    w.Find<QAction>("Edit1")->trigger();
    EXPECT_EQ(w.form->LastDialogTime(), t0 + 2s);
    w.shell.FixedNow = t0 + 3s;
    w.prompts.QueueAnswer(MessageAnswer::No);
    w.Find<QAction>("Delete1")->trigger();
    ASSERT_EQ(w.prompts.shown.size(), 3u);
    EXPECT_EQ(w.form->LastDialogTime(), t0 + 3s);
}

TEST_F(MainForm, SelectorsValidateTheirTextWhenTheyLoseTheFocus)
{
    StartedWindow& w = Start(SixPrograms());
    auto* emulators = w.Find<QComboBox>("ComboBox2");
    emulators->setEditText("beebem"); // equals an entry ignoring case: kept
    LoseFocus(emulators);
    EXPECT_EQ(emulators->currentText(), "beebem");
    EXPECT_TRUE(w.Enabled("RunProgram1"));
    emulators->setEditText("Electron");
    LoseFocus(emulators);
    EXPECT_EQ(emulators->currentText(), "");
    EXPECT_FALSE(w.Enabled("RunProgram1"));
    EXPECT_FALSE(w.Enabled("RunEmulator1"));

    auto* filters = w.Find<QComboBox>("ComboBox1");
    w.List()->setCurrentIndex(w.List()->model()->index(4, 0));
    filters->setEditText("ALL"); // accepted ignoring case, and the list is not rebuilt
    LoseFocus(filters);
    EXPECT_EQ(filters->currentText(), "ALL");
    EXPECT_EQ(w.SelectedName(), "Moonraider");
    filters->setEditText("Acornsoft"); // no such entry: back to "all" and rebuilt
    LoseFocus(filters);
    EXPECT_EQ(filters->currentText(), "all");
    EXPECT_EQ(w.SelectedName(), "Elite");
}

TEST_F(MainForm, PickingAFilterRebuildsTheListAndAnEmptyListDisablesTheProgramCommands)
{
    StartedWindow& w = Start(SixPrograms());
    auto* filters = w.Find<QComboBox>("ComboBox1");
    filters->setCurrentIndex(1);
    emit filters->activated(1);
    EXPECT_EQ(ProgramColumn(w), (std::vector<std::string>{"Elite", "Monsters"}));
    EXPECT_EQ(w.Panel(5), "2 Programs  ");

    filters->setCurrentIndex(2);
    emit filters->activated(2);
    EXPECT_TRUE(ProgramColumn(w).empty());
    EXPECT_EQ(w.form->SelectedPIdx(), -1);
    EXPECT_FALSE(w.Enabled("RunProgram1"));
    EXPECT_TRUE(w.Enabled("RunEmulator1"));
    EXPECT_EQ(w.Panel(5), "");
    EXPECT_FALSE(w.form->Details()->ShowsPlaceholder());
}

TEST_F(MainForm, StatusBarAndDetailsShowTheSelectedProgram)
{
    Catalogue catalogue;
    ProgramRecord program = MakeProgram("Acornsoft", "Elite", "<h1>Game</h1>", dir / "games/Elite.v2.ssd");
    program.Favourite = true;
    program.E00Dfs = true;
    program.Comments = {"Trade and fight", "Second line"};
    program.EmuWarningEmus = {"B"};
    program.EmuWarningTexts = {"T"};
    for (int i = 1; i <= 9; ++i) {
        program.DocLinkNames.push_back("Doc " + std::to_string(i));
        program.DocLinkUrls.push_back("https://example.org/" + std::to_string(i));
    }
    catalogue.ProgramList = {program};
    dir.Write("games/Elite.v2.jpg", JpegBytes(64, 48));
    dir.Write("games/Elite.v2-box.jpg", JpegBytes(500, 80));
    StartedWindow& w = Start(catalogue);
    // Catalogue text is shown as it stands, never read as markup.
    EXPECT_EQ(w.Panel(1), " <h1>Game</h1>");
    for (const QLabel* label : w.form->findChildren<QLabel*>())
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    EXPECT_EQ(w.Panel(2), " Favourite");
    EXPECT_EQ(w.Panel(3), " E00");
    EXPECT_EQ(w.Panel(4), "!");
    EXPECT_EQ(w.Panel(5), "1 Programs  ");
    EXPECT_EQ(w.form->Details()->Picture().size(), QSize(64, 48));
    EXPECT_EQ(w.form->Details()->BoxCover().size(), QSize(500, 80));
    EXPECT_EQ(w.Find<QLabel>("Image1")->size(), QSize(375, 300));
    EXPECT_EQ(w.Find<QPlainTextEdit>("Memo1")->toPlainText(), "Trade and fight\nSecond line");
    EXPECT_EQ(w.Find<QPlainTextEdit>("Memo2")->toPlainText(), "B: T");
    auto* left = w.Find<QListWidget>("ListView2");
    auto* right = w.Find<QListWidget>("ListView3");
    ASSERT_EQ(left->count(), 7);
    ASSERT_EQ(right->count(), 2);
    EXPECT_EQ(left->item(0)->text(), "Doc 1");
    EXPECT_EQ(right->item(1)->text(), "Doc 9");

    // A web address opens in the browser through the desktop's opener.
    w.form->Details()->ShowTab(DetailsTab::Information);
    QTest::mouseClick(right->viewport(), Qt::LeftButton, {}, right->visualItemRect(right->item(0)).center());
    EXPECT_TRUE(w.prompts.Texts().empty());
    ASSERT_EQ(w.shell.opened, std::vector<std::string>{"https://example.org/8"});
    w.shell.opened.clear();
    // An existing document is opened through the shell.
    const std::string manual = dir.Write("Manual.txt", "read me");
    w.catalogue.ProgramList[0].DocLinkUrls[0] = manual;
    w.form->RefreshDetails();
    QTest::mouseClick(left->viewport(), Qt::LeftButton, {}, left->visualItemRect(left->item(0)).center());
    EXPECT_EQ(w.shell.opened, (std::vector<std::string>{manual}));
    EXPECT_TRUE(w.prompts.shown.empty());
}

TEST_F(MainForm, TwentyLinksShowFourteenAndSevenLeaveTheRightColumnEmpty)
{
    Catalogue catalogue;
    ProgramRecord many = MakeProgram("A", "Many");
    ProgramRecord seven = MakeProgram("B", "Seven");
    ProgramRecord nine = MakeProgram("C", "Nine");
    for (int i = 0; i < 20; ++i) {
        many.DocLinkNames.push_back("L" + std::to_string(i));
        many.DocLinkUrls.push_back("u");
        if (i < 7) {
            seven.DocLinkNames.push_back("S" + std::to_string(i));
            seven.DocLinkUrls.push_back("u");
        }
        if (i < 9) {
            nine.DocLinkNames.push_back("N" + std::to_string(i));
            nine.DocLinkUrls.push_back("u");
        }
    }
    catalogue.ProgramList = {many, seven, nine};
    StartedWindow& w = Start(catalogue);
    auto* left = w.Find<QListWidget>("ListView2");
    auto* right = w.Find<QListWidget>("ListView3");
    EXPECT_EQ(left->count() + right->count(), 14);
    EXPECT_EQ(right->item(6)->text(), "L13");
    QTest::keyClick(w.List(), Qt::Key_Down);
    EXPECT_EQ(left->count(), 7);
    EXPECT_EQ(right->count(), 0);
    // Nine links: seven on the left, the last two on the right.
    QTest::keyClick(w.List(), Qt::Key_Down);
    ASSERT_EQ(left->count(), 7);
    ASSERT_EQ(right->count(), 2);
    EXPECT_EQ(left->item(6)->text(), "N6");
    EXPECT_EQ(right->item(0)->text(), "N7");
    EXPECT_EQ(right->item(1)->text(), "N8");
}

TEST_F(MainForm, MissingAndDamagedPicturesNeverStopTheRefresh)
{
    Catalogue catalogue;
    catalogue.ProgramList = {MakeProgram("A", "Plain", "Game", dir / "Plain.ssd"),
        MakeProgram("B", "Broken", "Game", dir / "a.b.ssd")};
    dir.Write("a.b.jpg", "GIF89a this is no JPEG");
    const std::string goodBytes = JpegBytes(32, 32);
    dir.Write("a.b-box.jpg", goodBytes.substr(0, goodBytes.size() - 40)); // cut short
    StartedWindow& w = Start(catalogue);
    ASSERT_EQ(w.SelectedName(), "Plain");
    EXPECT_TRUE(w.form->Details()->ShowsPlaceholder());
    EXPECT_EQ(w.form->Details()->Picture().size(), QSize(400, 300));
    EXPECT_TRUE(w.form->Details()->BoxCover().isNull());
    EXPECT_TRUE(w.prompts.shown.empty());

    QTest::keyClick(w.List(), Qt::Key_Down);
    ASSERT_EQ(w.SelectedName(), "Broken");
    EXPECT_EQ(w.prompts.Texts(),
        (std::vector<std::string>{"Error loading file " + dir / "a.b.jpg",
            "Error loading file " + dir / "a.b-box.jpg"}));
    EXPECT_EQ(w.prompts.shown[0].request.Caption, ""); // the application's title, no icon
    EXPECT_EQ(w.prompts.shown[0].request.Icon, MessageIcon::None);
    EXPECT_TRUE(w.form->Details()->Picture().isNull());
    EXPECT_FALSE(w.form->Details()->ShowsPlaceholder());
    EXPECT_TRUE(w.form->Details()->BoxCover().isNull());
    EXPECT_EQ(w.Panel(5), "2 Programs  ");
}
