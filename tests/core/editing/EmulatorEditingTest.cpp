#include "editing/EmulatorEditing.h"

#include "support/FakePrompts.h"

#include <gtest/gtest.h>

using namespace vorbix;

namespace {

using Texts = std::vector<std::string>;

EmuRecord Emu(const std::string& name)
{
    EmuRecord e;
    e.EmuName = name;
    return e;
}

Catalogue WithEmulators(const Texts& names)
{
    Catalogue c;
    for (const auto& n : names)
        c.EmuList.push_back(Emu(n));
    ProgramRecord p;
    p.EmuWarningEmus = {"A", "Gone", "B", "A"};
    p.EmuWarningTexts = {"a1", "gone", "b", "a2"};
    c.ProgramList.push_back(p);
    return c;
}

Texts Captions(const std::vector<ListRow>& rows)
{
    Texts captions;
    for (const ListRow& row : rows)
        captions.push_back(row.Caption);
    return captions;
}

} // namespace

TEST(EmulatorEditing, SyncProgramWarningsRenamesKeepsAndDrops)
{
    // A renamed to C: A's warnings move, the one for a missing emulator goes.
    Catalogue c = WithEmulators({"C", "B"});
    EXPECT_TRUE(SyncProgramWarnings(c, "A", "C"));
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, (Texts{"C", "B", "C"}));
    EXPECT_EQ(c.ProgramList[0].EmuWarningTexts, (Texts{"a1", "b", "a2"}));
    EXPECT_FALSE(SyncProgramWarnings(c, "A", "C")); // nothing left to change

    // Renamed to an empty name: A's warnings are dropped.
    c = WithEmulators({"", "B"});
    SyncProgramWarnings(c, "A", "");
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, Texts{"B"});
    EXPECT_EQ(c.ProgramList[0].EmuWarningTexts, Texts{"b"});

    // A second emulator still named A keeps A's warnings.
    c = WithEmulators({"C", "A", "B"});
    SyncProgramWarnings(c, "A", "C");
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, (Texts{"A", "B", "A"}));

    // New (both names empty) drops warnings for missing emulators; case counts.
    c = WithEmulators({"a", "B"});
    SyncProgramWarnings(c, "", "");
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, Texts{"B"});

    // A damaged record with fewer texts than names is handled without reading past them.
    c = WithEmulators({});
    c.ProgramList[0].EmuWarningTexts.resize(1);
    SyncProgramWarnings(c, "", "");
    EXPECT_TRUE(c.ProgramList[0].EmuWarningEmus.empty());
    EXPECT_TRUE(c.ProgramList[0].EmuWarningTexts.empty());

    EXPECT_TRUE(EmulatorExists(WithEmulators({"BeebEm"}).EmuList, "BeebEm"));
    EXPECT_FALSE(EmulatorExists(WithEmulators({"BeebEm"}).EmuList, "beebem"));
}

TEST(EmulatorEditing, RowAfterDelete)
{
    EXPECT_EQ(RowAfterDelete(0, 1), -1); // the only row
    EXPECT_EQ(RowAfterDelete(4, 5), 3); // the last row: the new last row
    EXPECT_EQ(RowAfterDelete(1, 5), 1); // the row that moves into its place
    EXPECT_EQ(RowAfterDelete(0, 2), 0);
}

TEST(EmulatorEditing, RowsAreSortedAndMapToTheirRecords)
{
    // Case-sensitive and locale-aware: a lower-case letter before its capital, whatever the
    // store order; equal names keep store order.
    Catalogue c = WithEmulators({"B", "b", "a", "c", "a"});
    std::vector<ListRow> rows = EmulatorListRows(c.EmuList);
    EXPECT_EQ(rows, (std::vector<ListRow>{{"a", 2}, {"a", 4}, {"b", 1}, {"B", 0}, {"c", 3}}));

    // Editing the fourth row edits the record named in it, not the fourth record.
    ListEdit edit = ReplaceEmulator(c, rows[3].EIdx, Emu("Z"));
    EXPECT_EQ(c.EmuList[0].EmuName, "Z");
    EXPECT_EQ(c.EmuList[3].EmuName, "c");
    EXPECT_EQ(Captions(edit.Rows), (Texts{"a", "a", "b", "c", "Z"}));
    EXPECT_EQ(edit.SelectRow, 4);
    EXPECT_EQ(edit.EIdx, 0);
    EXPECT_TRUE(edit.Change.Emulators);

    // New appends and selects the new record's row, wherever it sorts.
    edit = AddEmulator(c, Emu("0"));
    EXPECT_EQ(c.EmuList.back().EmuName, "0");
    EXPECT_EQ(edit.EIdx, 5);
    EXPECT_EQ(edit.SelectRow, 0);
    EXPECT_EQ(edit.Rows[0].EIdx, 5);

    // An index outside the list changes nothing.
    const std::vector<EmuRecord> before = c.EmuList;
    EXPECT_FALSE(ReplaceEmulator(c, 6, Emu("X")).Change.Emulators);
    EXPECT_FALSE(DeleteEmulator(c, -1).Change.Emulators);
    EXPECT_EQ(c.EmuList, before);
}

TEST(EmulatorEditing, DeleteSelectsTheRowThatMovedUp)
{
    Catalogue c = WithEmulators({"c", "a", "b"}); // rows a, b, c
    ListEdit edit = DeleteEmulator(c, 2); // the middle row, b
    EXPECT_EQ(Captions(edit.Rows), (Texts{"a", "c"}));
    EXPECT_EQ(edit.SelectRow, 1);
    edit = DeleteEmulator(c, 0); // the last row, c
    EXPECT_EQ(Captions(edit.Rows), Texts{"a"});
    EXPECT_EQ(edit.SelectRow, 0);
    edit = DeleteEmulator(c, 0); // the only row
    EXPECT_TRUE(edit.Rows.empty());
    EXPECT_EQ(edit.SelectRow, -1);
    EXPECT_TRUE(c.EmuList.empty());
    // Deleting asks nothing of the warnings.
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus.size(), 4u);
    EXPECT_FALSE(edit.Change.Programs);
}

TEST(EmulatorEditing, WarningsFollowRenamesAndMarkTheProgramsChanged)
{
    Catalogue c = WithEmulators({"A", "B", "Gone"});
    const Texts all{"A", "Gone", "B", "A"};

    // An Edit that keeps the name changes no warning and leaves the programs unchanged.
    EXPECT_FALSE(ReplaceEmulator(c, 0, Emu("A")).Change.Programs);
    EXPECT_FALSE(c.ProgramsChanged);

    // Rename A to C: the warnings go with it, and the programs must be saved again.
    ListEdit edit = ReplaceEmulator(c, 0, Emu("C"));
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, (Texts{"C", "Gone", "B", "C"}));
    EXPECT_EQ(c.ProgramList[0].EmuWarningTexts, (Texts{"a1", "gone", "b", "a2"}));
    EXPECT_TRUE(edit.Change.Programs);
    EXPECT_TRUE(c.ProgramsChanged);

    // Deleting "Gone" and creating it again keeps its warning.
    DeleteEmulator(c, 2);
    AddEmulator(c, Emu("Gone"));
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, (Texts{"C", "Gone", "B", "C"}));

    // Deleting B, then New of another name: B's warning is dropped.
    c.ProgramsChanged = false;
    DeleteEmulator(c, 1);
    edit = AddEmulator(c, Emu("D"));
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, (Texts{"C", "Gone", "C"}));
    EXPECT_EQ(c.ProgramList[0].EmuWarningTexts, (Texts{"a1", "gone", "a2"}));
    EXPECT_TRUE(edit.Change.Programs);
    EXPECT_TRUE(c.ProgramsChanged);

    // Renamed to an empty name: the warnings are dropped, not moved to "".
    c = WithEmulators({"A", "B", "Gone"});
    ReplaceEmulator(c, 0, Emu(""));
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, (Texts{"Gone", "B"}));

    // With a second A, renaming the first leaves the warnings with A.
    c = WithEmulators({"A", "B", "Gone", "A"});
    ReplaceEmulator(c, 0, Emu("C"));
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, all);
}

TEST(EmulatorEditing, ChoosersStartAtTheFileOrTheLastFolder)
{
    // On Linux the first filter lists executable files, and with nothing remembered the
    // chooser starts where programs are installed.
    const std::string executables = "Programs|*|Executables|*.exe;*.pif;*.bat;*.com|All files|*";
    EXPECT_EQ(EmulatorFileRequest("/opt/beebem/BeebEm", "/usr/games/"),
        (FileOpenRequest{executables, "/opt/beebem/", "BeebEm", true, true}));
    EXPECT_EQ(EmulatorFileRequest("C:\\Emu\\BeebEm.exe", "/usr/games/"),
        (FileOpenRequest{executables, "C:\\Emu\\", "BeebEm.exe", true, true}));
    EXPECT_EQ(EmulatorFileRequest("", "/usr/games/"), (FileOpenRequest{executables, "/usr/games/", "", true, true}));
    EXPECT_EQ(EmulatorFileRequest("", ""), (FileOpenRequest{executables, "/usr/bin/", "", true, true}));

    Catalogue c;
    c.LastEmuDir = "/usr/games/";
    test::FakePrompts prompts;
    EXPECT_FALSE(BrowseEmulatorFile(prompts, c, "")); // cancelled
    EXPECT_EQ(c.LastEmuDir, "/usr/games/");
    prompts.QueueChoice("/opt/b2/b2");
    EXPECT_EQ(BrowseEmulatorFile(prompts, c, ""), "/opt/b2/b2");
    EXPECT_EQ(c.LastEmuDir, "/opt/b2/");
    prompts.QueueChoice("D:\\BeebEm\\BeebEm.exe");
    BrowseEmulatorFile(prompts, c, "/opt/b2/b2");
    EXPECT_EQ(c.LastEmuDir, "D:\\BeebEm\\");
    EXPECT_EQ(prompts.fileRequests.size(), 3u);
    EXPECT_EQ(prompts.fileRequests[2].InitialDir, "/opt/b2/");

    // Working folders start at LastEmuDir, come back with a separator and leave it alone.
    prompts.QueueChoice("/home/me/discs");
    EXPECT_EQ(BrowseWorkingFolder(prompts, c), "/home/me/discs/");
    prompts.QueueChoice("D:\\BeebEm\\Discs");
    EXPECT_EQ(BrowseWorkingFolder(prompts, c), "D:\\BeebEm\\Discs\\");
    EXPECT_FALSE(BrowseWorkingFolder(prompts, c));
    EXPECT_EQ(prompts.folderRequests, (std::vector<FolderRequest>(3, FolderRequest{"D:\\BeebEm\\"})));
    EXPECT_EQ(c.LastEmuDir, "D:\\BeebEm\\");
}
