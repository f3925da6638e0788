// vorbix-cli emulators, run as the real program: the presets it prints and the test of the
// catalogue's emulators.

#include "Cli.h"
#include "catalogue/Main_LoadSaveUnit.h"
#include "support/Builders.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorbix;
using vorbix::test::RunProcess;
using vorbix::test::TempDir;

namespace {

test::ProcessOutput Cli(const TempDir& dir, const std::vector<std::string>& args)
{
    std::vector<std::string> argv{VORBIX_CLI_PATH, "--appdir", dir.path(), "emulators"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv, {"PATH=" + dir / "bin", "XDG_CACHE_HOME=" + dir / "cache", "HOME=" + dir / "home"});
}

} // namespace

TEST(CliEmulators, PresetsArePrintedAndTheCheckFindsProblemsWithoutWritingAnything)
{
    TempDir dir;
    const std::string b2 = dir.Write("bin/b2", "#!/bin/sh\n");
    test::SetMode(b2, 0755);

    const auto names = Cli(dir, {"--presets"});
    EXPECT_EQ(names.status, cli::kExitOk) << names.err;
    EXPECT_EQ(names.out,
        "b2\nB-Em\nbeebjit\nBeebEm\nMAME BBC Model B (disc)\nMAME BBC Model B (tape)\nMAME BBC Model B (ROM)\n"
        "MAME BBC Master 128 (disc)\n");

    // b2 is found on PATH; the element comes with the terminal's line ends, and its folder
    // is only named.
    const auto preset = Cli(dir, {"--preset", "b2"});
    EXPECT_EQ(preset.status, cli::kExitOk) << preset.err;
    const std::string folder = dir / "cache/vorbix/b2/";
    EXPECT_EQ(preset.out,
        test::LfLines({"<emulator>", "  <emu-name>b2</emu-name>", "  <emu-url>" + b2 + "</emu-url>",
            "  <commandline-string>-0 %IMAGE% -b</commandline-string>", "  <environment-var>",
            "    <environment-var-name></environment-var-name>", "    <environment-var-value></environment-var-value>",
            "  </environment-var>", "  <environment-var-ss>", "    <environment-var-ss-name></environment-var-ss-name>",
            "    <environment-var-ss-value></environment-var-ss-value>", "  </environment-var-ss>",
            "  <environment-var-ds>", "    <environment-var-ds-name></environment-var-ds-name>",
            "    <environment-var-ds-value></environment-var-ds-value>", "  </environment-var-ds>",
            "  <disk-working-dir>" + folder + "</disk-working-dir>", "  <disk-filename></disk-filename>",
            "  <rom-working-dir>" + folder + "</rom-working-dir>", "  <rom-filename></rom-filename>",
            "  <rom-file-ext></rom-file-ext>", "  <dfs-name>DFS.ROM</dfs-name>",
            "  <e00dfs-name>E00DFS.ROM</e00dfs-name>", "  <clean-disk-working-dir>true</clean-disk-working-dir>",
            "  <clean-rom-working-dir>true</clean-rom-working-dir>",
            "  <process-romscfg-modelb>false</process-romscfg-modelb>",
            "  <process-romscfg-master128>false</process-romscfg-master128>", "  <handle-dfs>false</handle-dfs>",
            "</emulator>"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "cache"));
    const auto unknown = Cli(dir, {"--preset", "MAME"});
    EXPECT_EQ(unknown.status, cli::kExitUsage);
    EXPECT_EQ(unknown.err, "No preset named MAME\n");
    EXPECT_EQ(unknown.out, "");

    // A catalogue with a usable b2 and a MAME that is not installed.
    Catalogue catalogue = test::CatalogueIn(dir.path());
    dir.Write("work/.keep", "");
    EmuRecord good;
    good.EmuName = "b2";
    good.EmuUrl = b2;
    good.CommandLineString = "-0 %IMAGE% -b";
    good.DiskWorkingDir = good.RomWorkingDir = dir / "work/";
    EmuRecord missing = good;
    missing.EmuName = "MAME";
    missing.EmuUrl = "mame";
    catalogue.EmuList = {good, missing};
    std::filesystem::create_directory(dir / "Data");
    ASSERT_TRUE(SaveOptionsFile(catalogue).Ok());
    const auto before = dir.Contents();

    const auto all = Cli(dir, {"--check"});
    EXPECT_EQ(all.status, cli::kExitFindings) << all.err;
    EXPECT_EQ(all.out, "MAME: Cannot find the emulator file mame\n");
    const auto one = Cli(dir, {"--check", "MAME"});
    EXPECT_EQ(one.status, cli::kExitFindings);
    EXPECT_EQ(one.out, "Cannot find the emulator file mame\n");
    const auto fine = Cli(dir, {"--check", "b2"});
    EXPECT_EQ(fine.status, cli::kExitOk) << fine.err;
    EXPECT_EQ(fine.out, "No problems found\n");
    const auto none = Cli(dir, {"--check", "BeebEm"});
    EXPECT_EQ(none.status, cli::kExitUsage);
    EXPECT_EQ(none.err, "No emulator named BeebEm\n");
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{{}, {"--preset"},
             {"--check", "b2", "MAME"}, {"--presets", "b2"}, {"--list"}}) {
        const auto refused = Cli(dir, wrong);
        EXPECT_EQ(refused.status, cli::kExitUsage);
        EXPECT_EQ(refused.err, "emulators needs one of --presets, --preset NAME, --check [NAME]\n");
    }
    EXPECT_EQ(dir.Contents(), before);
}
