// Catalogue text that is not UTF-8 (written on Windows, in Windows-1252) in the window:
// shown readably (list, details, drop-downs), looked up by its bytes, and saved as it came.

#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "mainwindow/TextBytes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorbix;
using namespace vorbix::test;

TEST_F(WindowTest, AWindows1252EmulatorNameIsShownRunAndSavedByteForByte)
{
    const std::string beebem = "Beeb\xe9m"; // "Beebém" in Windows-1252: not UTF-8
    Catalogue catalogue = SixPrograms();
    catalogue.EmuList = {EmuRecord{beebem, dir.Write("emu/beebem", "#!/bin/sh\n")},
        EmuRecord{"Beeb\xc3\xa9m UTF-8", dir.Write("emu/other", "#!/bin/sh\n")}};
    catalogue.ProgramList[0].PublisherName = "Caf\xe9 Soft";
    catalogue.LastEmu = beebem;
    StartedWindow& w = Start(catalogue);

    auto* emulators = w.Find<QComboBox>("ComboBox2");
    EXPECT_EQ(emulators->currentText(), QString::fromUtf8("Beeb\xc3\xa9m"));
    EXPECT_EQ(gui::Text(emulators), beebem);
    const StringList entries = w.form->EmulatorSelectorItems();
    ASSERT_EQ(entries.size(), 2u);
    const int own = entries[0] == beebem ? 0 : 1;
    EXPECT_EQ(entries[static_cast<std::size_t>(1 - own)], "Beeb\xc3\xa9m UTF-8");
    // The program list shows the publisher as the Windows user wrote it.
    bool shown = false;
    for (int row = 0; row < w.List()->model()->rowCount(); ++row)
        shown = shown || w.List()->model()->index(row, 0).data().toString() == QString::fromUtf8("Caf\xc3\xa9 Soft");
    EXPECT_TRUE(shown);

    // Run Emulator finds the emulator by its bytes, also after picking it from the list.
    w.Find<QAction>("RunEmulator1")->trigger();
    emulators->setCurrentIndex(1 - own);
    emit emulators->activated(1 - own);
    emulators->setCurrentIndex(own);
    emit emulators->activated(own);
    w.Find<QAction>("RunEmulator1")->trigger();
    EXPECT_TRUE(w.prompts.Errors().empty()) << w.prompts.Errors().front();
    ASSERT_EQ(w.shell.started.size(), 2u);
    EXPECT_EQ(w.shell.started[0].file, dir / "emu/beebem");
    EXPECT_EQ(w.shell.started[1].file, dir / "emu/beebem");
    EXPECT_TRUE(w.shell.opened.empty());

    // Saved as it came: the name, the remembered emulator and the publisher keep their bytes.
    w.Find<QAction>("Save1")->trigger();
    EXPECT_NE(dir.Read("Data/options.xml").find("<emu-name>" + beebem + "</emu-name>"), std::string::npos);
    EXPECT_NE(dir.Read("Data/options.xml").find("<last-emu>" + beebem + "</last-emu>"), std::string::npos);
    EXPECT_NE(dir.Read("Data/programs.xml").find("<publisher-name>Caf\xe9 Soft</publisher-name>"), std::string::npos);

    // What the user then chooses and types in the two selectors is what the next save writes.
    auto* filters = w.Find<QComboBox>("ComboBox1");
    filters->setFocus();
    QTest::keyClick(filters, Qt::Key_Down);
    QTest::keyClick(emulators->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(emulators->lineEdit(), "Typed");
    w.Find<QAction>("Save1")->trigger();
    const std::string options = dir.Read("Data/options.xml");
    EXPECT_NE(options.find("<last-filter>" + gui::Text(filters) + "</last-filter>"), std::string::npos);
    EXPECT_NE(gui::Text(filters), "all");
    EXPECT_NE(options.find("<last-emu>Typed</last-emu>"), std::string::npos);
}

TEST_F(WindowTest, AWindows1252ProgramIsShownEverywhereAndAnEditOfAnotherFieldKeepsItsBytes)
{
    Catalogue catalogue = SixPrograms();
    ProgramRecord& elite = catalogue.ProgramList[1];
    elite.PublisherName = "Caf\xe9 Soft"; // "Café Soft" and "Élite" in Windows-1252
    elite.ProgramName = "\xc9lite";
    elite.Comments = {"Jou\xe9 \xe0 deux"};
    elite.DocLinkNames = {"Manuel \xe9t\xe9"};
    elite.DocLinkUrls = {"/docs/manuel.txt"};
    catalogue.Publishers = Names({"Acornsoft", "Caf\xe9 Soft", "Superior"});
    catalogue.ProgramTypes = Names({"Game"});
    StartedWindow& w = Start(catalogue);

    // The list, then the details of the selected row.
    const QAbstractItemModel* rows = w.List()->model();
    int row = -1;
    for (int r = 0; r < rows->rowCount(); ++r)
        if (rows->index(r, 0).data().toString() == QString::fromUtf8("Caf\xc3\xa9 Soft"))
            row = r;
    ASSERT_GE(row, 0);
    EXPECT_EQ(rows->index(row, 1).data().toString(), QString::fromUtf8("\xc3\x89lite"));
    ClickRow(w.List(), row);
    ASSERT_EQ(w.SelectedName(), "\xc9lite");
    EXPECT_EQ(w.Find<QPlainTextEdit>("Memo1")->toPlainText(), QString::fromUtf8("Jou\xc3\xa9 \xc3\xa0 deux"));
    ASSERT_EQ(w.Find<QListWidget>("ListView2")->count(), 1);
    EXPECT_EQ(w.Find<QListWidget>("ListView2")->item(0)->text(), QString::fromUtf8("Manuel \xc3\xa9t\xc3\xa9"));

    // The editor shows the name and the publisher drop-down; only Favourite is changed.
    Catalogue expected = w.catalogue;
    expected.ProgramList[static_cast<std::size_t>(w.form->SelectedPIdx())].Favourite = true;
    auto* editor = w.form->findChild<QDialog*>("SingleProgramOptionsForm");
    ASSERT_NE(editor, nullptr);
    QString shownName, shownPublisher, publisherEntry;
    WhileShown(*editor, [&] {
        shownName = editor->findChild<QLineEdit*>("Edit1")->text();
        auto* publishers = editor->findChild<QComboBox*>("ComboBox1");
        shownPublisher = publishers->currentText();
        const StringList entries = gui::Entries(publishers);
        const auto own = std::find(entries.begin(), entries.end(), "Caf\xe9 Soft");
        if (own != entries.end())
            publisherEntry = publishers->itemText(static_cast<int>(own - entries.begin()));
        QTest::mouseClick(editor->findChild<QCheckBox*>("CheckBox1"), Qt::LeftButton);
        QTest::mouseClick(editor->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    w.Find<QAction>("Edit1")->trigger();
    EXPECT_EQ(shownName, QString::fromUtf8("\xc3\x89lite"));
    EXPECT_EQ(shownPublisher, QString::fromUtf8("Caf\xc3\xa9 Soft"));
    EXPECT_EQ(publisherEntry, QString::fromUtf8("Caf\xc3\xa9 Soft"));
    EXPECT_EQ(rows->index(w.List()->currentIndex().row(), 1).data().toString(), QString::fromUtf8("\xc3\x89lite"));

    // Saved: the file is what the catalogue with only that change writes, \xe9 one byte.
    w.Find<QAction>("Save1")->trigger();
    const std::string written = dir.Read("Data/programs.xml");
    EXPECT_EQ(written, ProgramsFileBytes(expected));
    EXPECT_NE(written.find("<program-name>\xc9lite</program-name>"), std::string::npos);
    EXPECT_NE(written.find("<publisher-name>Caf\xe9 Soft</publisher-name>"), std::string::npos);
    EXPECT_EQ(written.find('\xc3'), std::string::npos);
}
