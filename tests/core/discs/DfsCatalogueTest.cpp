#include "discs/DfsCatalogue.h"
#include "launching/EmulatorArguments.h"

#include "support/DfsImages.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vorbix;
using namespace vorbix::test;

TEST(DfsCatalogue, TheBootOptionOfASoundCatalogueAndNoneOfADamagedOne)
{
    const std::vector<DfsFile> files = {{"!BOOT", '$', false, 0, 0, 0x20, 2},
        {"GAME", 'G', true, 0x1900, 0x8023, 0x12345, 3}};
    for (int option = 0; option <= 3; ++option)
        EXPECT_EQ(DfsBootOption(DfsImage("ELITE", option, files)), option);
    // A disc of 800 sectors (the sector count's high bits), whose last file ends on the last sector.
    EXPECT_EQ(DfsBootOption(DfsImage("BIG", 2, {{"END", '$', false, 0, 0, 256, 799}}, 800)), 2);
    // Only the catalogue is read: an image cut after it (as many .ssd files are) still boots.
    EXPECT_EQ(DfsBootOption(DfsImage("CUT", 3, files).substr(0, 512)), 3);
    // 31 files, the most a catalogue holds.
    std::vector<DfsFile> full;
    for (unsigned i = 0; i < 31; ++i)
        full.push_back({"F" + std::to_string(i), '$', false, 0, 0, 256, 2 + i});
    EXPECT_EQ(DfsBootOption(DfsImage("FULL", 1, full)), 1);

    EXPECT_EQ(DfsBootOption(""), std::nullopt);
    EXPECT_EQ(DfsBootOption(DfsImage("SHORT", 3, files).substr(0, 511)), std::nullopt);
    std::string damaged = DfsImage("ODD", 3, files);
    damaged[256 + 5] = 3; // a file count that is no multiple of 8
    EXPECT_EQ(DfsBootOption(damaged), std::nullopt);
    EXPECT_EQ(DfsBootOption(DfsImage("TINY", 3, {}, 1, 0, 2)), std::nullopt); // fewer than 2 sectors
    EXPECT_EQ(DfsBootOption(DfsImage("PAST", 3, {{"LONG", '$', false, 0, 0, 3 * 256 + 1, 397}})), std::nullopt);
    EXPECT_EQ(DfsBootOption(DfsImage("INCAT", 3, {{"CAT", '$', false, 0, 0, 10, 1}})), std::nullopt);
    EXPECT_EQ(DfsBootOption(DfsImage("CTRL", 3, {{std::string("A\x01") + "B", '$', false, 0, 0, 10, 2}})),
        std::nullopt);
    EXPECT_EQ(DfsBootOption(std::string(512, '\xff')), std::nullopt); // junk
}

TEST(DfsCatalogue, TheBootCommandOfAnImageFileAndTheBootPlaceholder)
{
    TempDir dir;
    const std::string run = dir.Write("Run.ssd", DfsImage("RUN", 2, {{"!BOOT", '$', false, 0, 0, 10, 2}}));
    EXPECT_EQ(BootCommandOfImage(run), "*RUN !BOOT");
    EXPECT_EQ(BootCommandOfImage(dir.Write("Load.DSD", DfsImage("LOAD", 1, {}))), "*LOAD !BOOT");
    EXPECT_EQ(BootCommandOfImage(dir.Write("Exec.img", DfsImage("EXEC", 3, {}))), "*EXEC !BOOT");
    EXPECT_EQ(BootCommandOfImage(dir.Write("None.ssd", DfsImage("NONE", 0, {}))), "");
    // A tape, a ROM, a damaged or short disc, a missing file, a folder and a FIFO boot nothing,
    // and reading them never waits.
    EXPECT_EQ(BootCommandOfImage(dir.Write("Tape.uef", DfsImage("TAPE", 3, {}))), "");
    EXPECT_EQ(BootCommandOfImage(dir.Write("Game.rom", DfsImage("ROM", 3, {}))), "");
    EXPECT_EQ(BootCommandOfImage(dir.Write("Short.ssd", "abc")), "");
    EXPECT_EQ(BootCommandOfImage(dir / "Missing.ssd"), "");
    EXPECT_EQ(BootCommandOfImage(dir.Write("Folder.ssd/x", "")), "");
    ASSERT_EQ(::mkfifo((dir / "Fifo.ssd").c_str(), 0600), 0);
    EXPECT_EQ(BootCommandOfImage(dir / "Fifo.ssd"), "");

    // %BOOT% stays a word (the value of its switch) also when it is empty or there is no image.
    const std::string mame = "bbcb -flop1 %IMAGE% -autoboot_delay 2 -autoboot_command \"%BOOT%\\n\"";
    EXPECT_EQ(EmulatorArguments(mame, "/w/%BOOT%.ssd", "*RUN !BOOT"),
        (std::vector<std::string>{"bbcb", "-flop1", "/w/%BOOT%.ssd", "-autoboot_delay", "2", "-autoboot_command",
            "*RUN !BOOT\\n"}));
    EXPECT_EQ(EmulatorArguments(mame, "", ""),
        (std::vector<std::string>{"bbcb", "-autoboot_delay", "2", "-autoboot_command", "\\n"}));
}
