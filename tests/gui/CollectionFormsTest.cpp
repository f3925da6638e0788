// Add Folder from the Programs menu, through the preview's real widgets.

#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>

using namespace vorbix;
using namespace vorbix::test;

namespace {

// Runs act on Add Folder's preview once it stands as the active window (after the scan's
// progress has gone). A preview still open 10 s later is cancelled, so that a step that
// fails never leaves the test waiting.
void OnPreview(QTimer& poll, std::function<void(QWidget*)> act)
{
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&poll, act = std::move(act)] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (modal == nullptr || modal->objectName() != "AddFolderForm")
            return;
        poll.stop();
        QTimer::singleShot(10000, modal, [modal] { modal->reject(); });
        modal->activateWindow();
        if (!QTest::qWaitForWindowActive(modal)
            || !QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 5000)) {
            ADD_FAILURE() << "the preview never became the active window";
            modal->reject();
            return;
        }
        act(modal);
    });
    poll.start();
}

// Closes every menu and dialog still open after 10 s.
void CloseEverythingLater(QObject* context)
{
    QTimer::singleShot(10000, context, [] {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            modal->reject();
    });
}

} // namespace

TEST_F(WindowTest, AddFolderPreviewTakesTicksAndEditsFromTheKeyboard)
{
    Catalogue catalogue = SixPrograms();
    catalogue.Publishers = Names({"Acornsoft", "Superior"});
    catalogue.ProgramTypes = Names({"Game"});
    TempDir images;
    images.Write("Acornsoft/Elite.ssd", "el");
    images.Write("Misc/ChuckieEgg.ssd", "ce");
    images.Write("Superior/Repton 3 (1988)(Superior Software)[a].ssd", "r3");
    StartedWindow& w = Start(catalogue);
    w.prompts.QueueChoice(images.path());

    // The preview stands once the scan's progress has gone.
    QStringList notes;
    QString summary;
    QTimer poll;
    OnPreview(poll, [&](QWidget* modal) {
        auto* table = modal->findChild<QTableWidget*>("Table");
        summary = modal->findChild<QLabel*>("Summary")->text();
        // Space unticks Elite; Down, Right and F2 edit Chuckie Egg's name; Right and typing
        // give it a publisher the categories lack.
        Stroke(Qt::Key_Space);
        Stroke(Qt::Key_Down);
        Stroke(Qt::Key_Right);
        Stroke(Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        TypeKeys("Chuckie Egg II");
        Stroke(Qt::Key_Return);
        QApplication::processEvents(); // the editor closes on the next turn of the loop
        Stroke(Qt::Key_Right);
        TypeKeys("Bug-Byte");
        Stroke(Qt::Key_Return);
        QApplication::processEvents();
        for (int row = 0; row < table->rowCount(); ++row)
            notes << table->item(row, 5)->text();
        QTest::keyClick(modal, Qt::Key_A, Qt::AltModifier);
    });
    Activate(w.form.get());
    QTest::keyClick(w.form->menuBar(), Qt::Key_P, Qt::AltModifier);
    QApplication::processEvents();
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_F);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !poll.isActive(); }, 5000));

    EXPECT_EQ(w.prompts.folderRequests.size(), 1u);
    EXPECT_EQ(summary, "3 images found: 3 to add");
    EXPECT_EQ(notes, (QStringList{"", "new publisher", "new publisher"}));
    ASSERT_EQ(w.catalogue.ProgramList.size(), 8u);
    const ProgramRecord& chuckie = w.catalogue.ProgramList[6];
    EXPECT_EQ(chuckie.ProgramName, "Chuckie Egg II");
    EXPECT_EQ(chuckie.PublisherName, "Bug-Byte");
    EXPECT_EQ(chuckie.FileUrl, images.path() + "Misc/ChuckieEgg.ssd");
    EXPECT_EQ(w.catalogue.ProgramList[7].ProgramName, "Repton 3");
    EXPECT_EQ(w.catalogue.ProgramList[7].PublisherName, "Superior Software");
    EXPECT_TRUE(w.catalogue.ProgramsChanged);
    EXPECT_EQ(w.catalogue.Publishers.Items(), (StringList{"Acornsoft", "Bug-Byte", "Superior", "Superior Software"}));
    EXPECT_EQ(w.List()->model()->rowCount(), 8);
    EXPECT_EQ(w.SelectedName(), "Chuckie Egg II");
}

TEST_F(WindowTest, AnEmptyCatalogueShowsWhatToDoFirst)
{
    StartedWindow& w = Start(Catalogue{});
    auto* hint = w.Find<QWidget>("EmptyCatalogueHint");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->size(), w.List()->viewport()->size());

    // "Set up an emulator...": the Emulators list, then a new emulator's dialog with the
    // preset menu open; Escape closes the menu, the dialog and the list.
    QStringList seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (QWidget* popup = QApplication::activePopupWidget()) {
            seen << popup->parentWidget()->objectName();
            QTest::keyClick(popup, Qt::Key_Escape);
        } else if (modal != nullptr && !seen.isEmpty() && seen.last() != modal->objectName()) {
            seen << modal->objectName();
            QTest::keyClick(modal, Qt::Key_Escape);
        }
    });
    poll.start();
    CloseEverythingLater(w.form.get());
    Activate(w.form.get());
    QTest::mouseClick(w.Find<QPushButton>("SetUpEmulatorButton"), Qt::LeftButton);
    poll.stop();
    EXPECT_EQ(seen, (QStringList{"PresetButton", "SingleEmuOptionsForm", "EmuOptionsForm"}));
    EXPECT_TRUE(w.catalogue.EmuList.empty());

    // "Add a folder of images...": once a program is added the rows take the hint's place.
    TempDir images;
    images.Write("Elite.ssd", "el");
    w.prompts.QueueChoice(images.path());
    QTimer add;
    OnPreview(add, [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_A, Qt::AltModifier); });
    QTest::mouseClick(w.Find<QPushButton>("AddFolderButton"), Qt::LeftButton);
    EXPECT_EQ(w.catalogue.ProgramList.size(), 1u);
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(w.SelectedName(), "Elite");
}

TEST_F(WindowTest, MoveCatalogueFromTheKeyboard)
{
    Catalogue catalogue = SixPrograms();
    for (ProgramRecord& program : catalogue.ProgramList)
        program.FileUrl = "C:\\Beeb\\" + program.ProgramName + ".ssd";
    StartedWindow& w = Start(catalogue);
    dir.Write("Moved/Elite.ssd", "el");

    // Alt+F, M opens the dialog with the programs' common folder in From; the new folder is
    // typed into To, Alt+S lists the changes and Alt+M makes them.
    int rows = -1;
    QString from;
    QString summary;
    WhenModal(w.form.get(), [&](QWidget* modal) {
        CloseEverythingLater(modal);
        from = QApplication::focusWidget()->property("text").toString();
        Stroke(Qt::Key_Tab);
        TypeKeys((dir.path() + "Moved").c_str());
        QTest::keyClick(modal, Qt::Key_S, Qt::AltModifier);
        auto* table = modal->findChild<QTableWidget*>("Table");
        EXPECT_TRUE(QTest::qWaitFor([table] { return table->rowCount() > 0; })); // an access key clicks after a moment
        rows = table->rowCount();
        summary = modal->findChild<QLabel*>("Summary")->text();
        QTest::keyClick(modal, Qt::Key_M, Qt::AltModifier);
    });
    Activate(w.form.get());
    QTest::keyClick(w.form->menuBar(), Qt::Key_F, Qt::AltModifier);
    QApplication::processEvents();
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M);

    EXPECT_EQ(from, "C:\\Beeb\\");
    EXPECT_EQ(rows, 6);
    EXPECT_EQ(summary, "6 paths to move, 5 of them missing");
    for (const ProgramRecord& program : w.catalogue.ProgramList)
        EXPECT_EQ(program.FileUrl, dir.path() + "Moved/" + program.ProgramName + ".ssd");
    EXPECT_TRUE(w.catalogue.ProgramsChanged);
}
