// The main window with its other windows: the Edit commands reached from the keyboard,
// the steps after the filter and emulator dialogs, and the DFS controls set at start-up.

#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include "launching/EmuOptionsUnit.h"
#include "launching/FilterOptionsUnit.h"
#include "mainwindow/DetailsPanel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <tuple>

using namespace vorbix;
using namespace vorbix::test;

TEST_F(WindowTest, EditCommandsFromTheKeyboardAndWhatTheMainWindowDoesAfterwards)
{
    Catalogue catalogue = SixPrograms();
    catalogue.LastFilter = "Acornsoft only";
    StartedWindow& w = Start(catalogue);
    auto* filters = w.Find<QComboBox>("ComboBox1");
    ASSERT_EQ(filters->currentText(), "Acornsoft only");
    ASSERT_EQ(w.List()->model()->rowCount(), 2);

    // Alt+E, then E: "Emulators" opens; Escape closes it, and the selectors are refilled.
    Activate(w.form.get());
    QString opened;
    WhenModal(w.form.get(), [&](QWidget* modal) {
        opened = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QTest::keyClick(w.form->menuBar(), Qt::Key_E, Qt::AltModifier);
    QApplication::processEvents();
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_E);
    EXPECT_EQ(opened, "Emulators");
    EXPECT_EQ(w.form->EmulatorSelectorItems(), (StringList{"b2", "BeebEm"}));

    // Alt+P, N: "Program Options" with the focus in "Name"; Alt+F, P: "Programs Report".
    for (const auto& [menuKey, itemKey, title] :
        {std::tuple{Qt::Key_P, Qt::Key_N, "Program Options"}, std::tuple{Qt::Key_F, Qt::Key_P, "Programs Report"}}) {
        QString focus;
        opened.clear();
        WhenModal(w.form.get(), [&](QWidget* modal) {
            opened = modal->windowTitle();
            focus = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        Activate(w.form.get());
        QTest::keyClick(w.form->menuBar(), menuKey, Qt::AltModifier);
        QApplication::processEvents();
        ASSERT_NE(QApplication::activePopupWidget(), nullptr) << title;
        QTest::keyClick(QApplication::activePopupWidget(), itemKey);
        EXPECT_EQ(opened, title);
        if (opened == "Program Options") {
            EXPECT_EQ(focus, "Edit1");
        }
    }
    EXPECT_EQ(w.catalogue.ProgramList.size(), 6u);

    // Deleting the filter the main window shows: the selector falls back to "all" and the
    // list shows every program.
    WhenModal(w.form.get(), [&](QWidget* modal) {
        auto* list = modal->findChild<QTreeView*>("ListView1");
        for (int row = 0; row < list->model()->rowCount(); ++row)
            if (list->model()->index(row, 0).data().toString() == "Acornsoft only")
                ClickRow(list, row);
        QTest::mouseClick(modal->findChild<QPushButton*>("DeleteButton"), Qt::LeftButton);
        QTest::mouseClick(modal->findChild<QPushButton*>("CloseButton"), Qt::LeftButton);
    });
    w.Find<QAction>("Filters1")->trigger();
    EXPECT_EQ(w.catalogue.FilterList.size(), 1u);
    EXPECT_EQ(filters->currentText(), "all");
    EXPECT_EQ(w.List()->model()->rowCount(), 6);

    // Deleting the emulator the selector shows empties it and disables both run commands.
    ASSERT_EQ(w.Find<QComboBox>("ComboBox2")->currentText(), "BeebEm");
    WhenModal(w.form.get(), [&](QWidget* modal) {
        auto* list = modal->findChild<QTreeView*>("ListView1");
        for (int row = 0; row < list->model()->rowCount(); ++row)
            if (list->model()->index(row, 0).data().toString() == "BeebEm")
                ClickRow(list, row);
        QTest::mouseClick(modal->findChild<QPushButton*>("DeleteButton"), Qt::LeftButton);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    w.Find<QAction>("Emulators1")->trigger();
    EXPECT_EQ(w.Find<QComboBox>("ComboBox2")->currentText(), "");
    EXPECT_FALSE(w.Enabled("RunProgram1"));
    EXPECT_FALSE(w.Enabled("RunEmulator1"));
}

TEST_F(WindowTest, TheDfsControlsOfTheOtherWindowsFollowTheTwoDfsRomImages)
{
    for (const bool both : {false, true}) {
        TempDir app;
        WriteAppDir(SixPrograms(), app.path());
        app.Write("DFSROMS/E00DFS.ROM", "e00");
        if (both)
            app.Write("DFSROMS/DFS.ROM", "dfs");
        StartedWindow w(app.path());
        EXPECT_EQ(w.catalogue.DfsRomsPresent, both);
        // Each window reads it when it is shown.
        for (const auto& [dialog, box] : {std::pair{"SingleEmuOptionsForm", "HandleDfsCheck"},
                 {"OptionsForm", "UseE00DfsCheck"}, {"SingleProgramOptionsForm", "CheckBox2"}}) {
            w.Find<QDialog>(dialog)->show();
            EXPECT_EQ(w.Find<QCheckBox>(box)->isEnabled(), both) << dialog << " " << both;
            w.Find<QDialog>(dialog)->hide();
        }
    }
}

TEST_F(WindowTest, DroppedFilesOnTheWindow)
{
    Catalogue catalogue = SixPrograms();
    catalogue.LastEmu.clear(); // no emulator chosen
    catalogue.Options.AskAddToList = true;
    catalogue.Publishers.Add("Superior");
    StartedWindow& w = Start(catalogue);
    const std::string image = dir.Write("games/Superior/RepTon3.ssd", "disk");

    // Three files: only the first counts. The launch fails without an emulator, the user is
    // still asked to add the image, and Yes opens the program editor with the proposals.
    w.prompts.QueueAnswer(MessageAnswer::Yes);
    std::string name, file;
    WhenModal(w.form.get(), [&](QWidget* editor) {
        name = editor->findChild<QLineEdit*>("Edit1")->text().toStdString();
        file = editor->findChild<QLineEdit*>("Edit2")->text().toStdString();
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    w.form->HandleDroppedFiles({image, dir / "b.ssd", dir / "c.ssd"}, DropOrigin::Mouse);
    EXPECT_EQ(w.prompts.Texts(), (StringList{"Error: No emulator selected", "Add RepTon3.ssd to the list?"}));
    EXPECT_EQ(name, "Rep Ton3");
    EXPECT_EQ(file, image);
    EXPECT_EQ(w.catalogue.ProgramList.size(), 6u); // cancelled

    // A JPEG dropped with the Box cover tab shown becomes the program's box cover, shown at
    // once; ".jpeg" is not a picture the window takes.
    w.prompts.shown.clear();
    const std::string jpeg = dir.Write("cover.jpg", JpegBytes(20, 30));
    w.catalogue.ProgramList[static_cast<std::size_t>(w.form->SelectedPIdx())].FileUrl = dir / "games/Elite.ssd";
    w.form->Details()->ShowTab(DetailsTab::BoxCover);
    w.form->HandleDroppedFiles({jpeg}, DropOrigin::Mouse);
    EXPECT_EQ(dir.Read("games/Elite-box.jpg"), JpegBytes(20, 30));
    EXPECT_EQ(w.form->Details()->BoxCover().size(), QSize(20, 30));
    w.form->HandleDroppedFiles({dir.Write("cover.jpeg", "x")}, DropOrigin::Mouse);
    EXPECT_EQ(w.prompts.Texts(), StringList{"Only disk/rom images and JPEG pictures can be dropped"});
}
