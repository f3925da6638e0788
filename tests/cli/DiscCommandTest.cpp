// vorbix-cli disc, through the real program: what is on an image on standard output, and a
// file that cannot be read as a message and a status.

#include "support/AdfsUefImages.h"
#include "support/DfsImages.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vorbix;
using namespace vorbix::test;

TEST(DiscCommand, PrintsWhatIsOnAnImageAndRefusesWhatCannotBeRead)
{
    TempDir dir;
    const std::string game = dir.Write("Games/Game.ssd",
        DfsImage("GAME", 3, {{"!BOOT", '$', false, 0, 0, 0x20, 2}, {"CODE", 'C', true, 0x1900, 0x8023, 0x300, 3}}));
    // With a time limit, so that a program that blocks (on the FIFO) fails instead of stalling.
    const auto disc = [&dir](const std::string& file) {
        return RunProcess({"/usr/bin/timeout", "20", VORBIX_CLI_PATH, "--appdir", dir.path(), "disc", file});
    };
    const ProcessOutput listed = disc(game);
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out,
        "DFS disc, single-sided\nTitle    GAME\nCycle    00\nBoot     3 *EXEC !BOOT\nSectors  400 (40 tracks)\n"
        "Files    2 of 31\n  File       Load  Exec  Length Start\n  $.!BOOT    00000 00000 00020  002\n"
        "  C.CODE   L 01900 08023 00300  003\n%BOOT%   types *EXEC !BOOT\n");
    EXPECT_EQ(listed.err, "");

    const ProcessOutput tape = disc(dir.Write("Tape.uef", Gzip(UefImage({{"GAME", 0x1900, 0x1900, "x"}}))));
    EXPECT_EQ(tape.status, 0);
    EXPECT_EQ(tape.out.substr(0, tape.out.find('\n')), "UEF tape, version 0.10, gzip-compressed");

    // No disc: one line and status 1; no file, a FIFO, no argument: a message and no listing.
    const ProcessOutput rom = disc(dir.Write("Game.rom", std::string(16384, '\xFF')));
    EXPECT_EQ(rom.status, 1);
    EXPECT_EQ(rom.out,
        "No catalogue: not a disc or tape image that is read here (.ssd, .dsd, .img, .adf, .ads, .adm, .adl, .uef)\n"
        "%BOOT%   types nothing\n");
    const ProcessOutput missing = disc(dir / "Missing.ssd");
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "Error: Cannot open file " + (dir / "Missing.ssd") + "\n");
    ASSERT_EQ(::mkfifo((dir / "Fifo.ssd").c_str(), 0600), 0);
    const ProcessOutput fifo = disc(dir / "Fifo.ssd");
    EXPECT_EQ(fifo.status, 3);
    EXPECT_EQ(fifo.err, "Error: Cannot open file " + (dir / "Fifo.ssd") + ": not a regular file\n");
    const ProcessOutput none = RunProcess({VORBIX_CLI_PATH, "--appdir", dir.path(), "disc"});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "disc needs one image file\n");
}
