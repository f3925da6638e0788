#include "GuiTestSupport.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "mainwindow/DetailsPanel.h"
#include "mainwindow/ExitUnit.h"
#include "mainwindow/SplashUnit.h"
#include "platform/FileSystem.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace vorbix;
using namespace vorbix::test;
using namespace std::chrono_literals;

namespace {

// A catalogue whose publishers and names exercise the sort and the type-ahead.
Catalogue BrowsingCatalogue()
{
    Catalogue catalogue;
    catalogue.ProgramList = {
        MakeProgram("Superior", "Repton", "Game"),      // 0
        MakeProgram("Acornsoft", "Elite", "Game"),      // 1
        MakeProgram("acornsoft", "meteors", "Game"),    // 2
        MakeProgram("Micro Power", "Moonraider", "Game"), // 3
        MakeProgram("Acornsoft", "Monsters", "Game"),   // 4
        MakeProgram("Bug Byte", "Manic Miner", "Game"), // 5
    };
    FilterRecord acornsoft;
    acornsoft.FilterName = "Acornsoft only";
    acornsoft.FPublisher = "Acornsoft";
    FilterRecord nothing;
    nothing.FilterName = "bbc none";
    nothing.FPublisher = "Nobody";
    catalogue.FilterList = {acornsoft, nothing};
    EmuRecord beebem;
    beebem.EmuName = "BeebEm";
    EmuRecord b2;
    b2.EmuName = "b2";
    catalogue.EmuList = {beebem, b2};
    catalogue.LastEmu = "BeebEm";
    return catalogue;
}

QTreeView* List(const StartedWindow& w)
{
    return w.Find<QTreeView>("ListView1");
}

std::vector<std::string> ProgramColumn(const StartedWindow& w)
{
    std::vector<std::string> names;
    QAbstractItemModel* model = List(w)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names.push_back(model->index(row, 1).data().toString().toStdString());
    return names;
}

std::string SelectedName(const StartedWindow& w)
{
    const int pidx = w.form->SelectedPIdx();
    return pidx < 0 ? "" : w.catalogue.ProgramList[static_cast<std::size_t>(pidx)].ProgramName;
}

std::string Panel(const StartedWindow& w, int number)
{
    return w.Find<QLabel>(("StatusPanel" + std::to_string(number)).c_str())->text().toStdString();
}

void ClickHeader(const StartedWindow& w, int column)
{
    QHeaderView* header = List(w)->header();
    const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

void LoseFocus(QComboBox* selector)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(selector, &event);
}

bool Enabled(const StartedWindow& w, const char* action)
{
    return w.Find<QAction>(action)->isEnabled();
}

} // namespace

TEST(MainForm, StartUpLoadsTheCatalogueFillsTheSelectorsAndSelectsTheFirstRow)
{
    TempDir dir;
    Catalogue catalogue = BrowsingCatalogue();
    catalogue.LastFilter = "no such filter";
    WriteAppDir(catalogue, dir.path());
    dir.Write("DFSROMS/E00DFS.ROM", "rom");

    StartedWindow w(dir.path());
    EXPECT_EQ(w.form->windowTitle(), "Vorbix");
    EXPECT_TRUE(w.form->isVisible());
    EXPECT_FALSE(w.form->SplashForm()->isVisible());
    EXPECT_EQ(w.form->FilterSelectorItems(), (StringList{"all", "Acornsoft only", "bbc none"}));
    EXPECT_EQ(w.form->EmulatorSelectorItems(), (StringList{"b2", "BeebEm"}));
    // A remembered filter that names no filter becomes "all"; the emulator stays.
    EXPECT_EQ(w.Find<QComboBox>("ComboBox1")->currentText(), "all");
    EXPECT_EQ(w.Find<QComboBox>("ComboBox2")->currentText(), "BeebEm");
    // Sorted by publisher (a to z upper-cased only), then by program name.
    EXPECT_EQ(ProgramColumn(w), (std::vector<std::string>{"Elite", "meteors", "Monsters", "Manic Miner",
                                    "Moonraider", "Repton"}));
    EXPECT_TRUE(List(w)->isColumnHidden(2));
    EXPECT_EQ(SelectedName(w), "Elite");
    EXPECT_EQ(Panel(w, 1), " Game");
    EXPECT_EQ(Panel(w, 5), "6 Programs  ");
    EXPECT_EQ(w.form->Details()->currentIndex(), vorbix::gui::DetailsPanel::PictureTab);
    EXPECT_TRUE(Enabled(w, "RunProgram1"));
    EXPECT_TRUE(Enabled(w, "RunEmulator1"));
    // Only one of the two DFS ROM images is present.
    EXPECT_FALSE(w.catalogue.DfsRomsPresent);
    EXPECT_TRUE(w.prompts.shown.empty());

    dir.Write("DFSROMS/DFS.ROM", "rom");
    StartedWindow again(dir.path());
    EXPECT_TRUE(again.catalogue.DfsRomsPresent);
}

TEST(MainForm, TheSplashStandsAtLeastTwoSeconds)
{
    TempDir dir;
    StartedWindow w(dir.path(), false);
    w.form->SetSplashMinimum(2000ms);
    const auto start = std::chrono::steady_clock::now();
    w.form->show();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2000ms);
    EXPECT_FALSE(w.form->SplashForm()->isVisible());
    EXPECT_TRUE(w.form->isVisible());
}

TEST(MainForm, HeaderClicksSortAndKeepTheSelectedProgram)
{
    TempDir dir;
    WriteAppDir(BrowsingCatalogue(), dir.path());
    StartedWindow w(dir.path());
    auto* list = List(w);
    list->setCurrentIndex(list->model()->index(3, 0));  // Manic Miner
    ASSERT_EQ(SelectedName(w), "Manic Miner");

    ClickHeader(w, 0);  // publisher descending; equal publishers stay ascending by name
    EXPECT_EQ(ProgramColumn(w), (std::vector<std::string>{"Repton", "Moonraider", "Manic Miner", "Elite",
                                    "meteors", "Monsters"}));
    EXPECT_EQ(SelectedName(w), "Manic Miner");
    EXPECT_EQ(Panel(w, 5), "6 Programs  ");
    ClickHeader(w, 0);  // ascending again
    EXPECT_EQ(ProgramColumn(w).front(), "Elite");
    ClickHeader(w, 0);
    ClickHeader(w, 1);  // program ascending, whatever the publisher direction was
    EXPECT_EQ(ProgramColumn(w), (std::vector<std::string>{"Elite", "Manic Miner", "meteors", "Monsters",
                                    "Moonraider", "Repton"}));
    EXPECT_EQ(SelectedName(w), "Manic Miner");
    ClickHeader(w, 1);
    EXPECT_EQ(ProgramColumn(w).front(), "Repton");
}

TEST(MainForm, TypeAheadFindsTheNextRowWithTheInitialAndWraps)
{
    TempDir dir;
    WriteAppDir(BrowsingCatalogue(), dir.path());
    StartedWindow w(dir.path());
    ClickHeader(w, 1);  // Elite, Manic Miner, meteors, Monsters, Moonraider, Repton
    auto* list = List(w);
    list->setCurrentIndex(list->model()->index(3, 0));  // Monsters
    QTest::keyClick(list, Qt::Key_M);
    EXPECT_EQ(SelectedName(w), "Moonraider");
    QTest::keyClick(list, Qt::Key_M);  // wraps to the top
    EXPECT_EQ(SelectedName(w), "Manic Miner");
    EXPECT_EQ(Panel(w, 5), "6 Programs  ");
    QTest::keyClick(list, Qt::Key_Z);  // no row: the selection stays
    EXPECT_EQ(SelectedName(w), "Manic Miner");
    QTest::keyClick(list, Qt::Key_E);
    EXPECT_EQ(SelectedName(w), "Elite");
    // F1 is the virtual key 0x70, the character 'p' upper-cased: no program starts with P.
    QTest::keyClick(list, Qt::Key_F1);
    EXPECT_EQ(SelectedName(w), "Elite");
    QTest::keyClick(list, Qt::Key_Down);  // arrow keys move through the list's own handling
    EXPECT_EQ(SelectedName(w), "Manic Miner");
}

TEST(MainForm, EnterLaunchesOnlyMoreThan300MillisecondsAfterADialogClosed)
{
    TempDir dir;
    Catalogue catalogue = BrowsingCatalogue();
    catalogue.LastEmu = "NoSuchEmu";  // any launch stops at once with "No emulator selected"
    WriteAppDir(catalogue, dir.path());
    StartedWindow w(dir.path());
    const auto t0 = std::chrono::system_clock::now();
    w.shell.FixedNow = t0;
    w.form->ShowErrorBox("a dialog");
    ASSERT_EQ(w.form->LastDialogTime(), t0);

    w.shell.FixedNow = t0 + 300ms;
    QTest::keyClick(List(w), Qt::Key_Return);
    EXPECT_EQ(w.prompts.Errors(), (std::vector<std::string>{"a dialog"}));

    w.shell.FixedNow = t0 + 301ms;
    QTest::keyClick(List(w), Qt::Key_Return);
    EXPECT_EQ(w.prompts.Errors(), (std::vector<std::string>{"a dialog", "No emulator selected"}));
    // The launch cleared the emulator selector and disabled both run commands.
    EXPECT_EQ(w.Find<QComboBox>("ComboBox2")->currentText(), "");
    EXPECT_FALSE(Enabled(w, "RunProgram1"));
    EXPECT_FALSE(Enabled(w, "RunEmulator1"));
    // The error box of that launch counts as a dialog: an Enter right after it does nothing.
    QTest::keyClick(List(w), Qt::Key_Return);
    EXPECT_EQ(w.prompts.Errors().size(), 2u);
}

TEST(MainForm, SelectorsValidateTheirTextWhenTheyLoseTheFocus)
{
    TempDir dir;
    WriteAppDir(BrowsingCatalogue(), dir.path());
    StartedWindow w(dir.path());
    auto* emulators = w.Find<QComboBox>("ComboBox2");
    emulators->setEditText("beebem");  // equals an entry ignoring case: kept
    LoseFocus(emulators);
    EXPECT_EQ(emulators->currentText(), "beebem");
    EXPECT_TRUE(Enabled(w, "RunProgram1"));
    emulators->setEditText("Electron");
    LoseFocus(emulators);
    EXPECT_EQ(emulators->currentText(), "");
    EXPECT_FALSE(Enabled(w, "RunProgram1"));
    EXPECT_FALSE(Enabled(w, "RunEmulator1"));

    auto* filters = w.Find<QComboBox>("ComboBox1");
    List(w)->setCurrentIndex(List(w)->model()->index(4, 0));
    filters->setEditText("ALL");  // accepted ignoring case, and the list is not rebuilt
    LoseFocus(filters);
    EXPECT_EQ(filters->currentText(), "ALL");
    EXPECT_EQ(SelectedName(w), "Moonraider");
    filters->setEditText("Acornsoft");  // no such entry: back to "all" and rebuilt
    LoseFocus(filters);
    EXPECT_EQ(filters->currentText(), "all");
    EXPECT_EQ(SelectedName(w), "Elite");
}

TEST(MainForm, PickingAFilterRebuildsTheListAndAnEmptyListDisablesTheProgramCommands)
{
    TempDir dir;
    WriteAppDir(BrowsingCatalogue(), dir.path());
    StartedWindow w(dir.path());
    auto* filters = w.Find<QComboBox>("ComboBox1");
    filters->setCurrentIndex(1);
    emit filters->activated(1);
    EXPECT_EQ(ProgramColumn(w), (std::vector<std::string>{"Elite", "Monsters"}));
    EXPECT_EQ(Panel(w, 5), "2 Programs  ");

    filters->setCurrentIndex(2);
    emit filters->activated(2);
    EXPECT_TRUE(ProgramColumn(w).empty());
    EXPECT_EQ(w.form->SelectedPIdx(), -1);
    EXPECT_FALSE(Enabled(w, "RunProgram1"));
    EXPECT_TRUE(Enabled(w, "RunEmulator1"));
    EXPECT_EQ(Panel(w, 5), "");
    EXPECT_FALSE(w.form->Details()->ShowsPlaceholder());
}

TEST(MainForm, StatusBarAndDetailsShowTheSelectedProgram)
{
    TempDir dir;
    Catalogue catalogue;
    ProgramRecord program = MakeProgram("Acornsoft", "Elite", "Game", dir / "games/Elite.v2.ssd");
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
    WriteAppDir(catalogue, dir.path());
    dir.Write("games/Elite.v2.jpg", JpegBytes(64, 48));
    dir.Write("games/Elite.v2-box.jpg", JpegBytes(500, 80));

    StartedWindow w(dir.path());
    EXPECT_EQ(Panel(w, 1), " Game");
    EXPECT_EQ(Panel(w, 2), " Favourite");
    EXPECT_EQ(Panel(w, 3), " E00");
    EXPECT_EQ(Panel(w, 4), "!");
    EXPECT_EQ(Panel(w, 5), "1 Programs  ");
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

    // A web address is never an existing file; afterwards the focus is in the list.
    w.form->Details()->setCurrentIndex(vorbix::gui::DetailsPanel::InformationTab);
    QTest::mouseClick(right->viewport(), Qt::LeftButton, {}, right->visualItemRect(right->item(0)).center());
    ASSERT_EQ(w.prompts.Texts(), (std::vector<std::string>{"Cannot find file https://example.org/8"}));
    EXPECT_EQ(w.prompts.shown[0].request.Icon, MessageIcon::Stop);
    EXPECT_TRUE(w.shell.opened.empty());
    // An existing document is opened through the shell.
    const std::string manual = dir.Write("Manual.txt", "read me");
    w.catalogue.ProgramList[0].DocLinkUrls[0] = manual;
    w.form->RefreshDetails();
    QTest::mouseClick(left->viewport(), Qt::LeftButton, {}, left->visualItemRect(left->item(0)).center());
    EXPECT_EQ(w.shell.opened, (std::vector<std::string>{manual}));
    EXPECT_EQ(w.prompts.shown.size(), 1u);
}

TEST(MainForm, TwentyLinksShowFourteenAndSevenLeaveTheRightColumnEmpty)
{
    TempDir dir;
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
    WriteAppDir(catalogue, dir.path());
    StartedWindow w(dir.path());
    auto* left = w.Find<QListWidget>("ListView2");
    auto* right = w.Find<QListWidget>("ListView3");
    EXPECT_EQ(left->count() + right->count(), 14);
    EXPECT_EQ(right->item(6)->text(), "L13");
    QTest::keyClick(List(w), Qt::Key_Down);
    EXPECT_EQ(left->count(), 7);
    EXPECT_EQ(right->count(), 0);
    // Nine links: seven on the left, the last two on the right.
    QTest::keyClick(List(w), Qt::Key_Down);
    ASSERT_EQ(left->count(), 7);
    ASSERT_EQ(right->count(), 2);
    EXPECT_EQ(left->item(6)->text(), "N6");
    EXPECT_EQ(right->item(0)->text(), "N7");
    EXPECT_EQ(right->item(1)->text(), "N8");
}

TEST(MainForm, MissingAndDamagedPicturesNeverStopTheRefresh)
{
    TempDir dir;
    Catalogue catalogue;
    catalogue.ProgramList = {MakeProgram("A", "Plain", "Game", dir / "Plain.ssd"),
        MakeProgram("B", "Broken", "Game", dir / "a.b.ssd")};
    WriteAppDir(catalogue, dir.path());
    dir.Write("a.b.jpg", "GIF89a this is no JPEG");
    const std::string goodBytes = JpegBytes(32, 32);
    dir.Write("a.b-box.jpg", goodBytes.substr(0, goodBytes.size() - 40));  // cut short

    StartedWindow w(dir.path());
    ASSERT_EQ(SelectedName(w), "Plain");
    EXPECT_TRUE(w.form->Details()->ShowsPlaceholder());
    EXPECT_EQ(w.form->Details()->Picture().size(), QSize(400, 300));
    EXPECT_TRUE(w.form->Details()->BoxCover().isNull());
    EXPECT_TRUE(w.prompts.shown.empty());

    QTest::keyClick(List(w), Qt::Key_Down);
    ASSERT_EQ(SelectedName(w), "Broken");
    EXPECT_EQ(w.prompts.Texts(), (std::vector<std::string>{"Error loading file " + dir / "a.b.jpg",
                                     "Error loading file " + dir / "a.b-box.jpg"}));
    EXPECT_EQ(w.prompts.shown[0].request.Caption, "");  // the application's title, no icon
    EXPECT_EQ(w.prompts.shown[0].request.Icon, MessageIcon::None);
    EXPECT_TRUE(w.form->Details()->Picture().isNull());
    EXPECT_FALSE(w.form->Details()->ShowsPlaceholder());
    EXPECT_TRUE(w.form->Details()->BoxCover().isNull());
    EXPECT_EQ(Panel(w, 5), "2 Programs  ");
}
