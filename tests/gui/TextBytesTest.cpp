// Catalogue text that is not UTF-8 (written on Windows, in Windows-1252) in the window:
// shown readably, looked up by its bytes, and saved as it came.

#include "support/gui/WindowTest.h"

#include "mainwindow/TextBytes.h"

#include <QAction>
#include <QComboBox>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace vorbix;
using namespace vorbix::test;

TEST_F(WindowTest, AWindows1252EmulatorNameIsShownRunAndSavedByteForByte)
{
    const std::string beebem = "Beeb\xe9m";  // "Beebém" in Windows-1252: not UTF-8
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
    EXPECT_EQ(entries[1 - own], "Beeb\xc3\xa9m UTF-8");
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
}
