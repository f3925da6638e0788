// The emulator list dialog and the emulator dialog, driven through their widgets.

#include "support/Builders.h"
#include "support/gui/DialogTest.h"

#include "launching/EmuOptionsUnit.h"
#include "launching/ImageMasks.h"
#include "launching/SingleEmuOptionsUnit.h"
#include "platform/FileSystem.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>

using namespace vorbix;
using namespace vorbix::test;

namespace {

EmuRecord Emu(const std::string& name)
{
    EmuRecord emu;
    emu.EmuName = name;
    return emu;
}

ProgramRecord Warned(const std::vector<std::string>& emus)
{
    ProgramRecord program = MakeProgram("Acornsoft", "Elite");
    for (const std::string& emu : emus) {
        program.EmuWarningEmus.push_back(emu);
        program.EmuWarningTexts.push_back("slow in " + emu);
    }
    return program;
}

// An environment variable set for one test, and given back its old value after it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Strikes the keys on the popup menu about to open, once it stands; counts the menus seen.
void OnPopupMenu(QObject* context, std::vector<Qt::Key> keys, int& seen, int tries = 2000)
{
    QTimer::singleShot(10, context, [context, keys = std::move(keys), &seen, tries]() mutable {
        QWidget* popup = QApplication::activePopupWidget();
        if (popup == nullptr) {
            if (tries == 0)
                ADD_FAILURE() << "no menu was shown";
            else
                OnPopupMenu(context, std::move(keys), seen, tries - 1);
            return;
        }
        ++seen;
        for (Qt::Key key : keys) {
            QTest::keyPress(popup, key);
            QTest::keyRelease(popup, key);
        }
    });
}

class EmuOptionsForm : public DialogTest {
protected:
    template <typename T = QWidget>
    T* Single(const char* name)
    {
        return single.findChild<T*>(name);
    }
    QTreeView* List() { return list.findChild<QTreeView*>("ListView1"); }
    QPushButton* Button(const char* name) { return list.findChild<QPushButton*>(name); }

    void Open() { DialogTest::Open(list); }
    void InDialog(std::function<void()> changes, bool ok = true) { DialogTest::InDialog(single, changes, ok); }
    void Type(const char* box, const QString& text) { Single<QLineEdit>(box)->setText(text); }
    bool ListButtonsEnabled() { return Button("EditButton")->isEnabled() && Button("DeleteButton")->isEnabled(); }

    gui::TSingleEmuOptionsForm single{catalogue, prompts, shell};
    gui::TEmuOptionsForm list{catalogue, single};
};

} // namespace

TEST_F(EmuOptionsForm, RowsAreSortedAndEachCommandReachesTheRecordOfItsRow)
{
    catalogue.EmuList = {Emu("Zeta"), Emu("BeebEm"), Emu("alpha"), Emu("b2")};
    Open();
    EXPECT_EQ(list.windowTitle(), "Emulators");
    EXPECT_EQ(ListRows(List()),
        (std::vector<std::pair<std::string, std::string>>{{"alpha", "2"}, {"b2", "3"}, {"BeebEm", "1"},
            {"Zeta", "0"}}));
    EXPECT_TRUE(List()->isHeaderHidden());
    EXPECT_TRUE(List()->isColumnHidden(1));
    EXPECT_EQ(QApplication::focusWidget(), List());
    EXPECT_EQ(SelectedRow(List()), -1);
    EXPECT_FALSE(Button("EditButton")->isEnabled());
    EXPECT_FALSE(Button("DeleteButton")->isEnabled());
    // No row is current either, so Down selects the first.
    Stroke(Qt::Key_Down);
    EXPECT_EQ(SelectedRow(List()), 0);
    EXPECT_TRUE(ListButtonsEnabled());

    // The third row is BeebEm, the record at index 1; a double-click edits it.
    ClickRow(List(), 2);
    EXPECT_TRUE(ListButtonsEnabled());
    std::string shownName;
    InDialog([&] {
        shownName = Single<QLineEdit>("NameEdit")->text().toStdString();
        Type("CommandLineEdit", "-fs %IMAGE%");
    });
    const QPoint third = List()->visualRect(List()->model()->index(2, 0)).center();
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(shownName, "BeebEm");
    EXPECT_EQ(catalogue.EmuList[1].CommandLineString, "-fs %IMAGE%");
    EXPECT_EQ(catalogue.EmuList[2].CommandLineString, "");
    EXPECT_EQ(SelectedRow(List()), 2);

    // A rename moves the row; the renamed record's row is selected.
    InDialog([&] { Type("NameEdit", "Acorn"); });
    QTest::mouseClick(Button("EditButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.EmuList[1].EmuName, "Acorn");
    EXPECT_EQ(ListRows(List())[0], (std::pair<std::string, std::string>{"Acorn", "1"}));
    EXPECT_EQ(SelectedRow(List()), 0);

    // Changes are collected until taken.
    EXPECT_TRUE(list.TakeChange().Emulators);
    EXPECT_EQ(list.TakeChange(), CatalogueChange{});

    // New with Cancel changes nothing; New with OK appends and selects the new row.
    InDialog([&] { Type("NameEdit", "Unused"); }, false);
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.EmuList.size(), 4u);
    EXPECT_EQ(list.TakeChange(), CatalogueChange{});
    EXPECT_EQ(SelectedRow(List()), 0);
    InDialog([&] { Type("NameEdit", "c64"); });
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    ASSERT_EQ(catalogue.EmuList.size(), 5u);
    EXPECT_EQ(ListRows(List())[static_cast<std::size_t>(SelectedRow(List()))],
        (std::pair<std::string, std::string>{"c64", "4"}));

    // A click below the last row selects nothing, and a double-click there edits nothing.
    ClickRow(List(), 5);
    EXPECT_EQ(SelectedRow(List()), -1);
    EXPECT_FALSE(Button("EditButton")->isEnabled());
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, QPoint(10, List()->viewport()->height() - 3));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(EmuOptionsForm, DeleteSelectsTheRowThatTakesItsPlaceOrTheNewLastRow)
{
    catalogue.EmuList = {Emu("d"), Emu("a"), Emu("c"), Emu("b")};
    Open();
    // The middle row "b" goes by the Delete key; "c" moves into its place.
    ClickRow(List(), 1);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(ListRows(List()), (std::vector<std::pair<std::string, std::string>>{{"a", "1"}, {"c", "2"}, {"d", "0"}}));
    EXPECT_EQ(SelectedRow(List()), 1);
    EXPECT_TRUE(ListButtonsEnabled());
    // The last row "d": the new last row is selected; indices follow the store.
    ClickRow(List(), 2);
    QTest::mouseClick(Button("DeleteButton"), Qt::LeftButton);
    EXPECT_EQ(ListRows(List()), (std::vector<std::pair<std::string, std::string>>{{"a", "0"}, {"c", "1"}}));
    EXPECT_EQ(SelectedRow(List()), 1);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(SelectedRow(List()), 0);
    // The only row: nothing is left to select, and Delete has nothing to act on.
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_TRUE(catalogue.EmuList.empty());
    EXPECT_EQ(SelectedRow(List()), -1);
    EXPECT_FALSE(Button("EditButton")->isEnabled());
    EXPECT_FALSE(Button("DeleteButton")->isEnabled());
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_TRUE(list.TakeChange().Emulators);
}

TEST_F(EmuOptionsForm, NewAndEditKeepTheProgramsWarningsInStepWithTheNames)
{
    catalogue.EmuList = {Emu("A"), Emu("Other")};
    catalogue.ProgramList = {Warned({"A", "Gone", "Other"})};
    Open();
    // Renaming A to B carries its warning over with the text; the warning for an emulator
    // that no longer exists goes.
    ClickRow(List(), 0);
    InDialog([&] { Type("NameEdit", "B"); });
    QTest::mouseClick(Button("EditButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.ProgramList[0].EmuWarningEmus, (StringList{"B", "Other"}));
    EXPECT_EQ(catalogue.ProgramList[0].EmuWarningTexts, (StringList{"slow in A", "slow in Other"}));
    EXPECT_TRUE(catalogue.ProgramsChanged);
    EXPECT_TRUE(list.TakeChange().Programs);

    // Deleting B keeps its warning; a new emulator B picks it up again.
    ClickRow(List(), 0);
    QTest::mouseClick(Button("DeleteButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.ProgramList[0].EmuWarningEmus, (StringList{"B", "Other"}));
    InDialog([&] { Type("NameEdit", "B"); });
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.ProgramList[0].EmuWarningEmus, (StringList{"B", "Other"}));

    // With a second emulator named B, renaming one of them leaves the warning with B.
    InDialog([&] { Type("NameEdit", "B"); });
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    ClickRow(List(), 0);
    InDialog([&] { Type("NameEdit", "C"); });
    QTest::mouseClick(Button("EditButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.ProgramList[0].EmuWarningEmus, (StringList{"B", "Other"}));

    // Renaming Other to an empty name drops its warning.
    ClickRow(List(), static_cast<int>(ListRows(List()).size()) - 1);
    ASSERT_EQ(ListRows(List()).back().first, "Other");
    InDialog([&] { Type("NameEdit", ""); });
    QTest::mouseClick(Button("EditButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.ProgramList[0].EmuWarningEmus, (StringList{"B"}));
    EXPECT_EQ(catalogue.ProgramList[0].EmuWarningTexts, (StringList{"slow in A"}));
}

TEST_F(EmuOptionsForm, NewShowsTheDefaultsAndAnUnchangedTextKeepsItsBytes)
{
    catalogue.EmuList = {Emu("Beeb\xe9m")};
    catalogue.EmuList[0].DiskWorkingDir = "/home/j\xf6rg/disks/";
    Open();
    EXPECT_EQ(ListRows(List())[0].first, "Beeb\u00e9m");

    // Edited in another field and saved: the name and the folder keep their bytes.
    ClickRow(List(), 0);
    InDialog([&] {
        EXPECT_EQ(Single<QLineEdit>("NameEdit")->text(), QString::fromUtf8("Beeb\u00e9m"));
        EXPECT_EQ(Single<QLineEdit>("DiskWorkingDirEdit")->text(), QString::fromUtf8("/home/j\u00f6rg/disks/"));
        Type("DiskFilenameEdit", "disc");
    });
    QTest::mouseClick(Button("EditButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.EmuList[0].EmuName, "Beeb\xe9m");
    EXPECT_EQ(catalogue.EmuList[0].DiskWorkingDir, "/home/j\xf6rg/disks/");
    EXPECT_EQ(catalogue.EmuList[0].DiskFilename, "disc");

    // New with OK and no change stores the defaults shown; typed text is stored as UTF-8.
    InDialog([&] {
        EXPECT_EQ(Single<QLineEdit>("DfsNameEdit")->text(), "DFS.ROM");
        EXPECT_EQ(Single<QLineEdit>("E00DfsNameEdit")->text(), "E00DFS.ROM");
    });
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    ASSERT_EQ(catalogue.EmuList.size(), 2u);
    EXPECT_EQ(catalogue.EmuList[1], EmuRecord{});
    InDialog([&] { Type("NameEdit", QString::fromUtf8("Beeb\u00e9m")); });
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.EmuList[2].EmuName, "Beeb\xc3\xa9m");
}

TEST_F(EmuOptionsForm, ChoosersStartWhereTheyShouldAndOnlyTheFileChooserMovesLastEmuDir)
{
    catalogue.LastEmuDir = "/emus/";
    EmuRecord edited;
    single.show();
    const auto click = [&](const char* button) { QTest::mouseClick(Single<QPushButton>(button), Qt::LeftButton); };

    // An empty "File Name": the chooser starts at LastEmuDir; the choice moves LastEmuDir.
    prompts.QueueChoice("/opt/beebem/beebem");
    click("FileNameButton");
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].InitialDir, "/emus/");
    EXPECT_EQ(prompts.fileRequests[0].FileName, "");
    EXPECT_TRUE(prompts.fileRequests[0].MustExist);
    EXPECT_NE(prompts.fileRequests[0].Filter.find("|Executables|*.exe;*.pif;*.bat;*.com"), std::string::npos);
    EXPECT_TRUE(prompts.fileRequests[0].ExecutablesFirst);
    EXPECT_EQ(Single<QLineEdit>("FileNameEdit")->text(), "/opt/beebem/beebem");
    EXPECT_EQ(catalogue.LastEmuDir, "/opt/beebem/");
    // Now it starts in the file's folder with the file preset; a cancel changes nothing.
    catalogue.LastEmuDir = "/elsewhere/";
    click("FileNameButton");
    EXPECT_EQ(prompts.fileRequests[1].InitialDir, "/opt/beebem/");
    EXPECT_EQ(prompts.fileRequests[1].FileName, "beebem");
    EXPECT_EQ(Single<QLineEdit>("FileNameEdit")->text(), "/opt/beebem/beebem");
    EXPECT_EQ(catalogue.LastEmuDir, "/elsewhere/");

    // The working folders start at LastEmuDir, take a trailing separator, and leave
    // LastEmuDir alone.
    prompts.QueueChoice("/games/disks");
    click("DiskWorkingDirButton");
    prompts.QueueChoice("/games/roms/");
    click("RomWorkingDirButton");
    click("RomWorkingDirButton");
    ASSERT_EQ(prompts.folderRequests.size(), 3u);
    EXPECT_EQ(prompts.folderRequests[0].InitialDir, "/elsewhere/");
    EXPECT_EQ(prompts.folderRequests[1].InitialDir, "/elsewhere/");
    EXPECT_EQ(catalogue.LastEmuDir, "/elsewhere/");
    EXPECT_EQ(Single<QLineEdit>("DiskWorkingDirEdit")->text(), "/games/disks/");
    EXPECT_EQ(Single<QLineEdit>("RomWorkingDirEdit")->text(), "/games/roms/");
    EXPECT_TRUE(Single<QLineEdit>("FileNameEdit")->isReadOnly());
    EXPECT_TRUE(Single<QLineEdit>("DiskWorkingDirEdit")->isReadOnly());
    single.hide();

    // The chosen paths reach the record on OK.
    WhenShown([&] { click("OkButton"); });
    const std::optional<EmuRecord> record = single.Edit(EmuRecord{});
    ASSERT_TRUE(record);
    EXPECT_EQ(record->EmuUrl, ""); // Edit starts from the record it is given
    WhenShown([&] {
        prompts.QueueChoice("/usr/bin/b2");
        click("FileNameButton");
        prompts.QueueChoice("/d");
        click("DiskWorkingDirButton");
        click("OkButton");
    });
    edited = *single.Edit(EmuRecord{});
    EXPECT_EQ(edited.EmuUrl, "/usr/bin/b2");
    EXPECT_EQ(edited.DiskWorkingDir, "/d/");
}

TEST_F(EmuOptionsForm, ImagesTabShowsTheCaptionsAndKeepsTheRomsCfgBoxesExclusive)
{
    single.SetImageCaptions(DiskImagesCaption(), DiskImageExtensionsText(), RomImagesCaption());
    EXPECT_EQ(Single<QGroupBox>("DiskImagesGroup")->title(),
        "Disk images (*.ssd, *.dsd, *.img, *.bbc, *.adf, *.uef, *.zip)");
    EXPECT_EQ(Single<QLineEdit>("DiskExtensionsEdit")->text(), ".ssd/.dsd/.img/.bbc/.adf/.uef/.zip");
    EXPECT_EQ(Single<QGroupBox>("RomImagesGroup")->title(), "Rom images (*.rom)");
    QLineEdit* extensions = Single<QLineEdit>("DiskExtensionsEdit");
    EXPECT_GE(extensions->width(), extensions->fontMetrics().horizontalAdvance(extensions->text()));

    // A stored record with both flags shows both; a click on one clears the other.
    EmuRecord both;
    both.ProcessRomsCfgModelB = both.ProcessRomsCfgMaster128 = true;
    WhenShown([&] {
        auto* modelB = Single<QCheckBox>("RomsCfgModelBCheck");
        auto* master = Single<QCheckBox>("RomsCfgMaster128Check");
        EXPECT_TRUE(modelB->isChecked() && master->isChecked());
        Single<QTabWidget>("PageControl1")->setCurrentIndex(1);
        ClickBox(master); // off: the other stays
        EXPECT_TRUE(modelB->isChecked());
        ClickBox(master);
        EXPECT_FALSE(modelB->isChecked());
        modelB->setFocus();
        QTest::keyClick(modelB, Qt::Key_Space);
        EXPECT_TRUE(modelB->isChecked());
        EXPECT_FALSE(master->isChecked());
        QTest::mouseClick(Single<QPushButton>("OkButton"), Qt::LeftButton);
    });
    const std::optional<EmuRecord> record = single.Edit(both);
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->ProcessRomsCfgModelB);
    EXPECT_FALSE(record->ProcessRomsCfgMaster128);
}

TEST_F(EmuOptionsForm, DfsTabNeedsBothRomImagesAndThenTheCheckBoxDecidesTheNames)
{
    const auto enabled = [&](const char* name) { return Single(name)->isEnabled(); };
    const auto names = [&](bool on) {
        for (const char* name :
            {"DfsNameEdit", "DfsNameLabel", "DfsNameNote", "E00DfsNameEdit", "E00DfsNameLabel", "E00DfsNameNote"})
            EXPECT_EQ(enabled(name), on) << name;
    };
    EmuRecord handled;
    handled.HandleDfs = true;

    // Without the DFS ROM images a stored HandleDfs is shown, but nothing can be changed.
    catalogue.DfsRomsPresent = false;
    WhenShown([&] {
        EXPECT_TRUE(Single<QCheckBox>("HandleDfsCheck")->isChecked());
        EXPECT_FALSE(enabled("DfsGroup"));
        EXPECT_FALSE(enabled("HandleDfsCheck"));
        names(false);
        QTest::mouseClick(Single<QPushButton>("OkButton"), Qt::LeftButton);
    });
    EXPECT_TRUE(single.Edit(handled)->HandleDfs);

    // With them, the check box decides: on show, and at every click.
    catalogue.DfsRomsPresent = true;
    WhenShown([&] {
        EXPECT_TRUE(enabled("HandleDfsCheck"));
        names(true);
        Single<QTabWidget>("PageControl1")->setCurrentIndex(2);
        ClickBox(Single<QCheckBox>("HandleDfsCheck"));
        names(false);
        QTest::mouseClick(Single<QPushButton>("OkButton"), Qt::LeftButton);
    });
    EXPECT_FALSE(single.Edit(handled)->HandleDfs);
    WhenShown([&] {
        names(false);
        QTest::mouseClick(Single<QPushButton>("CancelButton"), Qt::LeftButton);
    });
    EXPECT_FALSE(single.Edit(EmuRecord{}));
}

TEST_F(EmuOptionsForm, WorksFromTheKeyboard)
{
    catalogue.EmuList = {Emu("b2")};
    Open();
    // Alt+N opens "Emulator Options" on its first tab with the focus in "Name"; Enter is OK.
    WhenShown([&] {
        EXPECT_EQ(QApplication::activeModalWidget(), &single);
        EXPECT_EQ(single.windowTitle(), "Emulator Options");
        EXPECT_EQ(Single<QTabWidget>("PageControl1")->currentIndex(), 0);
        EXPECT_EQ(QApplication::focusWidget(), Single("NameEdit"));
        QTest::keyClicks(QApplication::focusWidget(), "Electron");
        // Tab goes on in reading order.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Single("FileNameEdit"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Single("CommandLineEdit"));
        // Alt+W, on the same tab, sets "Carry on when the emulator closes", off for a new one.
        EXPECT_FALSE(Single<QCheckBox>("WaitForExitCheck")->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
        // An access key clicks the box as the mouse would, releasing it a moment later.
        EXPECT_TRUE(QTest::qWaitFor([&] { return Single<QCheckBox>("WaitForExitCheck")->isChecked(); }));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QTest::keyClick(List(), Qt::Key_N, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !single.isVisible() && catalogue.EmuList.size() == 2; }));
    EXPECT_EQ(catalogue.EmuList[1].EmuName, "Electron");
    EXPECT_TRUE(catalogue.EmuList[1].WaitForExit);
    EXPECT_FALSE(catalogue.EmuList[0].WaitForExit);

    bool cancelled = false;
    // Alt+E edits the selected row, Alt+H opens the help page beside the program, and Escape
    // cancels.
    dir.Write("HELP/EMUS.HTM", "<html></html>");
    WhenShown([&] {
        EXPECT_EQ(Single<QLineEdit>("NameEdit")->text(), "Electron");
        QTest::keyClicks(QApplication::focusWidget(), "xx");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !shell.opened.empty(); }));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        cancelled = true;
    });
    Activate(&list); // the offscreen platform does not give the activation back by itself
    QTest::keyClick(List(), Qt::Key_E, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cancelled && !single.isVisible(); }));
    EXPECT_EQ(catalogue.EmuList[1].EmuName, "Electron");
    EXPECT_EQ(shell.opened, (std::vector<std::string>{dir.path() + "HELP/EMUS.HTM"}));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_NE(Single("CommandLineEdit")->toolTip().indexOf("%IMAGE%"), -1);

    // Enter in the list is Close.
    List()->setFocus();
    QTest::keyClick(List(), Qt::Key_Return);
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(list.result(), QDialog::Accepted);
}

// A machine busy with other builds (or the sanitizers) may take seconds to show a menu.
constexpr int kSlowWait = 20000;

TEST_F(EmuOptionsForm, APresetIsChosenFromTheMenuByKeysAndTestChecksWhatTheBoxesHold)
{
    // The presets look for executables on PATH and make their folders under the cache.
    const ScopedVariable path("PATH", dir / "bin");
    const ScopedVariable cache("XDG_CACHE_HOME", dir / "cache");
    const std::string mame = dir.Write("bin/mame", "#!/bin/sh\n");
    SetMode(mame, 0755);
    EmuRecord stored = Emu("Old");
    stored.EnvVarName = "KEEP";
    stored.CleanDiskWorkingDir = true;
    const auto text = [&](const char* box) { return Single<QLineEdit>(box)->text().toStdString(); };
    const auto checked = [&](const char* box) { return Single<QCheckBox>(box)->isChecked(); };
    int menus = 0;
    // The menu is opened by Alt+P the first time, then by a click on the button: under the
    // offscreen platform a second Alt+P opened no menu once one had closed (Alt+T still works).
    const auto openMenu = [&](std::vector<Qt::Key> keys) {
        OnPopupMenu(&single, std::move(keys), menus);
        if (menus == 0)
            Stroke(Qt::Key_P, Qt::AltModifier);
        else
            QTest::mouseClick(Single<QPushButton>("PresetButton"), Qt::LeftButton);
    };
    WhenShown([&] {
        // A failed step ends the dialog too, so that it fails the test instead of waiting.
        const auto closeAtEnd = qScopeGuard([this] {
            if (single.isVisible())
                single.reject();
        });
        // Alt+P opens the menu; Escape closes it and changes nothing.
        openMenu({Qt::Key_Down, Qt::Key_Escape});
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return menus == 1 && QApplication::activePopupWidget() == nullptr; }, kSlowWait));
        EXPECT_EQ(text("NameEdit"), "Old");
        EXPECT_EQ(QApplication::activeModalWidget(), &single);

        // The fifth entry by Down and Enter fills all three tabs and makes the folder.
        openMenu({Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
        ASSERT_TRUE(QTest::qWaitFor([&] { return text("NameEdit") == "MAME BBC Model B (disc)"; }, kSlowWait));
        const std::string folder = dir / "cache/vorbix/mame-bbcb/";
        EXPECT_EQ(text("FileNameEdit"), mame);
        EXPECT_EQ(text("CommandLineEdit"), "bbcb -flop1 %IMAGE% -autoboot_delay 2 -autoboot_command \"%BOOT%\\n\"");
        EXPECT_EQ(text("EnvVarNameEdit"), "");
        EXPECT_EQ(text("DiskWorkingDirEdit"), folder);
        EXPECT_EQ(text("RomWorkingDirEdit"), folder);
        EXPECT_TRUE(checked("CleanDiskWorkingDirCheck") && checked("CleanRomWorkingDirCheck"));
        EXPECT_FALSE(checked("RomsCfgModelBCheck") || checked("HandleDfsCheck"));
        EXPECT_TRUE(DirectoryExists(folder));

        // Alt+T tests the definition as shown. (The offscreen platform gives the dialog its
        // activation back from the closed menu only in its own time; the shortcut needs it.)
        Activate(&single);
        Stroke(Qt::Key_T, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.shown.size() == 1; }, kSlowWait));
        EXPECT_EQ(prompts.shown[0].request.Caption, "Test");
        EXPECT_EQ(prompts.shown[0].request.Text, "No problems found");
        EXPECT_EQ(prompts.shown[0].request.Icon, MessageIcon::Information);

        // b2, which is not installed, then given a bare file typed in: two problems, one box.
        openMenu({Qt::Key_Down, Qt::Key_Return});
        ASSERT_TRUE(QTest::qWaitFor([&] { return text("NameEdit") == "b2"; }, kSlowWait));
        Activate(&single);
        Single("CommandLineEdit")->setFocus();
        Stroke(Qt::Key_A, Qt::ControlModifier);
        TypeKeys("%IMAGE%");
        Stroke(Qt::Key_T, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.shown.size() == 2; }, kSlowWait));
        EXPECT_EQ(prompts.shown[1].request.Text,
            "Cannot find the emulator file b2\nb2 given only %IMAGE% hands the disc to a b2 that is already running "
            "and ends at once: use -0 %IMAGE% -b");
        EXPECT_EQ(prompts.shown[1].request.Icon, MessageIcon::Exclamation);
        Stroke(Qt::Key_Escape);
    });
    // Cancel keeps nothing of it.
    EXPECT_FALSE(single.Edit(stored));
    EXPECT_EQ(menus, 3);
}
