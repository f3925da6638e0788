#include "launching/EmulatorArguments.h"
#include "launching/EmulatorListRules.h"
#include "launching/ImageMasks.h"

#include <gtest/gtest.h>

using namespace vorbix;

namespace {

using Texts = std::vector<std::string>;

Catalogue WithEmulators(const Texts& names)
{
    Catalogue c;
    for (const auto& n : names) {
        EmuRecord e;
        e.EmuName = n;
        c.EmuList.push_back(e);
    }
    ProgramRecord p;
    p.EmuWarningEmus = {"A", "Gone", "B", "A"};
    p.EmuWarningTexts = {"a1", "gone", "b", "a2"};
    c.ProgramList.push_back(p);
    return c;
}

} // namespace

TEST(EmulatorRules, SyncProgramWarningsRenamesKeepsAndDrops)
{
    // A renamed to C: A's warnings move, the one for a missing emulator goes.
    Catalogue c = WithEmulators({"C", "B"});
    SyncProgramWarnings(c, "A", "C");
    EXPECT_EQ(c.ProgramList[0].EmuWarningEmus, (Texts{"C", "B", "C"}));
    EXPECT_EQ(c.ProgramList[0].EmuWarningTexts, (Texts{"a1", "b", "a2"}));

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

TEST(EmulatorRules, RowAfterDelete)
{
    EXPECT_EQ(RowAfterDelete(0, 1), -1);  // the only row
    EXPECT_EQ(RowAfterDelete(4, 5), 3);   // the last row: the new last row
    EXPECT_EQ(RowAfterDelete(1, 5), 1);   // the row that moves into its place
    EXPECT_EQ(RowAfterDelete(0, 2), 0);
}

TEST(EmulatorRules, CaptionsAndClassificationFromTheMasks)
{
    EXPECT_EQ(DiskImagesCaption(), "Disk images (*.ssd, *.dsd, *.img, *.bbc, *.adf, *.uef, *.zip)");
    EXPECT_EQ(DiskImageExtensionsText(), ".ssd/.dsd/.img/.bbc/.adf/.uef/.zip");
    EXPECT_EQ(RomImagesCaption(), "Rom images (*.rom)");
    EXPECT_EQ(UpperExtension("/g/Elite.v1.Ssd"), ".SSD");
    EXPECT_EQ(UpperExtension("/g.x/Elite"), "");
    EXPECT_TRUE(IsDiskExtension(".ZIP"));
    EXPECT_FALSE(IsDiskExtension(".ROM"));
    EXPECT_TRUE(IsRomExtension(".ROM"));
    EXPECT_FALSE(IsRomExtension(""));
    EXPECT_FALSE(IsDiskExtension(""));
    EXPECT_FALSE(IsDiskExtension(".JPG"));
}

TEST(EmulatorRules, CommandLineWordsAndTheImagePlaceholder)
{
    EXPECT_EQ(SplitCommandLine("  -a   b\t\"c d\" e\"f g\"h \"\" "), (Texts{"-a", "b", "c d", "ef gh", ""}));
    EXPECT_EQ(SplitCommandLine("\"unterminated word"), Texts{"unterminated word"});
    EXPECT_TRUE(SplitCommandLine(" \t ").empty());
    EXPECT_EQ(EmulatorArguments("-disc %IMAGE% --x=%IMAGE%", "/e/a b.ssd"),
        (Texts{"-disc", "/e/a b.ssd", "--x=/e/a b.ssd"}));
    EXPECT_EQ(EmulatorArguments("-disc %IMAGE% -fast", ""), (Texts{"-disc", "-fast"}));
    // A path holding the placeholder's text is not replaced again.
    EXPECT_EQ(EmulatorArguments("%IMAGE%", "/e/%IMAGE%.ssd"), Texts{"/e/%IMAGE%.ssd"});
}
