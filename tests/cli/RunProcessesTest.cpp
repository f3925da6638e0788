// vorbix-cli run in real processes beside each other: two application folders whose
// emulator definitions share one emulator and its working file, a holder killed part-way,
// and standard input that has ended.

#include "catalogue/Main_LoadSaveUnit.h"
#include "support/FakeEmulator.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <thread>

using namespace vorbix;
using namespace vorbix::test;

namespace {

std::string ClockTime(std::time_t time)
{
    std::tm local{};
    ::localtime_r(&time, &local);
    char text[8];
    std::strftime(text, sizeof text, "%H:%M", &local);
    return text;
}

class RunProcessesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir / "emu/discs");
        std::filesystem::create_directories(dir / "control");
        std::filesystem::create_directories(dir / "runtime");
        WriteFakeEmulator(dir.path());
        MakeApp("app1", {{"Orbit", "Orbit.ssd", "orbit"}});
        MakeApp("app2",
            {{"Elite", "Elite.ssd", "elite"}, {"Zalaga", "Zalaga.ssd", "zalaga"},
                {"Star Miner", "StarMiner.ssd", "star miner"}});
    }
    void TearDown() override
    {
        // No emulator of a failed test is left waiting.
        std::filesystem::remove(dir / "control/hold");
    }

    struct Program {
        std::string name, file, bytes;
    };
    // An application folder whose one emulator places every disk as emu/discs/DISC.ssd,
    // copies it back and cleans up.
    void MakeApp(const std::string& app, const std::vector<Program>& programs,
        const std::string& emulator = "emu/beebem")
    {
        Catalogue cat;
        cat.AppDir = dir / (app + "/");
        EmuRecord emu;
        emu.EmuName = "BeebEm";
        emu.EmuUrl = dir / emulator;
        emu.DiskWorkingDir = dir / "emu/discs/";
        emu.DiskFilename = "DISC";
        emu.CleanDiskWorkingDir = true;
        cat.EmuList.push_back(emu);
        for (const Program& p : programs)
            cat.ProgramList.push_back({p.name, dir.Write(app + "/games/" + p.file, p.bytes)});
        cat.Options.CopyDiskBack = true;
        cat.LastEmu = "BeebEm";
        const auto saved = SaveCatalogue(cat, false);
        ASSERT_TRUE(saved.Ok()) << saved.Message();
    }

    std::vector<std::string> Argv(const std::string& app, const std::vector<std::string>& args) const
    {
        std::vector<std::string> argv{VORBIX_CLI_PATH, "--appdir", dir / app, "run", "--emulator", "BeebEm"};
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }
    std::vector<std::string> Env(const std::string& runtime = "runtime") const
    {
        return {"XDG_RUNTIME_DIR=" + dir / runtime};
    }

    // Waits until the fake emulator has written the count of lines to emu/started or
    // emu/ended.
    void AwaitLines(const std::string& name, std::size_t count) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string text = dir.Read("emu/" + name);
            if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= count)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        FAIL() << "the fake emulator did not write " << count << " lines to emu/" << name;
    }
    void Hold() const { dir.Write("control/hold", ""); }
    void Release() const { std::filesystem::remove(dir / "control/hold"); }

    TempDir dir;
};

} // namespace

TEST_F(RunProcessesTest, ARunIsRefusedWhileAnotherHoldsItsWorkingFileAndAKilledHolderBlocksNothing)
{
    dir.Write("control/save", "");
    Hold();
    const std::time_t before = std::time(nullptr);
    StartedProcess first(Argv("app1", {"--program", "0", "--yes"}), Env());
    AwaitLines("started", 1);

    // Another catalogue's program through the same working file, and the same image again
    // from that other catalogue. The same catalogue is not even loaded: its lock is taken.
    const ProcessOutput other = RunProcess(Argv("app2", {"--program", "2"}), Env());
    const ProcessOutput same = RunProcess(Argv("app2", {"--file", dir / "app1/games/Orbit.ssd"}), Env());
    const ProcessOutput sameCatalogue = RunProcess(Argv("app1", {"--program", "0"}), Env());
    EXPECT_EQ(sameCatalogue.status, 3);
    EXPECT_EQ(sameCatalogue.err.find("The catalogue in " + dir / "app1 is open in another Vorbix (process "), 0u)
        << sameCatalogue.err;
    const std::time_t after = std::time(nullptr);
    for (const ProcessOutput* refused : {&other, &same}) {
        EXPECT_EQ(refused->status, 1);
        const std::string message = "Error: BeebEm is still running Orbit (started at ";
        EXPECT_TRUE(refused->err == message + ClockTime(before) + "). Finish that run first.\n"
            || refused->err == message + ClockTime(after) + "). Finish that run first.\n")
            << refused->err;
    }
    EXPECT_EQ(dir.Read("emu/discs/DISC.ssd"), "orbit");
    EXPECT_EQ(dir.Read("app2/games/StarMiner.ssd"), "star miner");

    // A runtime folder that cannot be used refuses the launch too.
    dir.Write("badruntime/vorbix", "a file");
    const ProcessOutput unusable = RunProcess(Argv("app2", {"--program", "2"}), Env("badruntime"));
    EXPECT_EQ(unusable.status, 1);
    EXPECT_EQ(unusable.err, "Error: Cannot use folder " + dir / "badruntime/vorbix" + ": not a folder\n");

    Release();
    const ProcessOutput firstDone = first.Wait();
    EXPECT_EQ(firstDone.status, 0) << firstDone.err;
    EXPECT_EQ(dir.Read("app1/games/Orbit.ssd"), "orbit+saved");
    EXPECT_FALSE(dir.Exists("emu/discs/DISC.ssd"));

    // A holder killed while its emulator runs leaves its marker behind; the next run takes
    // it over, even while that emulator still runs (it inherited no lock).
    std::filesystem::remove(dir / "control/save");
    Hold();
    StartedProcess killed(Argv("app1", {"--program", "0", "--yes"}), Env());
    AwaitLines("started", 2);
    ::kill(killed.Pid(), SIGKILL);
    killed.Wait();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "runtime/vorbix"), {}), 1);
    StartedProcess next(Argv("app2", {"--program", "2", "--yes"}), Env());
    AwaitLines("started", 3);
    Release();
    const ProcessOutput nextDone = next.Wait();
    EXPECT_EQ(nextDone.status, 0) << nextDone.err;
    EXPECT_EQ(nextDone.err, "");
    EXPECT_EQ(dir.Read("app2/games/StarMiner.ssd"), "star miner");
    AwaitLines("ended", 3);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "runtime/vorbix"), {}), 0);
}

TEST_F(RunProcessesTest, AtTheEndOfStandardInputTheRunWaitsForTheEmulator)
{
    dir.Write("control/save", "");
    // Enter pressed while the emulator runs: the tool goes on and ends, the emulator runs on.
    Hold();
    const ProcessOutput entered = RunProcess(Argv("app1", {"--program", "0"}), Env(), "\n");
    EXPECT_EQ(entered.status, 0) << entered.err;
    EXPECT_EQ(entered.err, "Press OK after running emulator [Enter] ");
    Release();
    AwaitLines("ended", 1);

    // No input at all (a job run from cron): the run waits for the emulator, then copies
    // back what it wrote.
    dir.Write("app1/games/Orbit.ssd", "orbit");
    Hold();
    StartedProcess unattended(Argv("app1", {"--program", "0"}), Env(), "");
    AwaitLines("started", 2);
    Release();
    const ProcessOutput done = unattended.Wait();
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.err,
        "Press OK after running emulator [Enter] \nStandard input is at its end: waiting for the emulator to end.\n");
    EXPECT_EQ(dir.Read("app1/games/Orbit.ssd"), "orbit+saved");
    EXPECT_FALSE(dir.Exists("emu/discs/DISC.ssd"));
}

// An emulator's failure is the run's: a status of its own is reported under the emulator's
// name with the last 50 lines of its error output, and a file that cannot be executed is never handed to the desktop's opener
// (which would open the disc image with Vorbix again, and again).
TEST_F(RunProcessesTest, AFailingOrUnexecutableEmulatorFailsTheRunAndNothingElseIsStarted)
{
    std::string complaint;
    for (int line = 1; line <= 55; ++line)
        complaint += "echo 'complaint " + std::to_string(line) + "' >&2\n";
    const std::string emulator = dir / "emu/beebem";
    dir.Write("emu/beebem",
        "#!/bin/sh\nprintf '+saved' >> '" + dir / "emu/discs/DISC.ssd" + "'\n" + complaint + "exit 3\n");
    const ProcessOutput failed = RunProcess(Argv("app1", {"--program", "0", "--wait"}), Env());
    EXPECT_EQ(failed.status, 1);
    std::string lastLines;
    for (int line = 6; line <= 55; ++line)
        lastLines += "\n  complaint " + std::to_string(line);
    EXPECT_NE(failed.err.find("\nError: BeebEm ended with status 3" + lastLines + "\n"), std::string::npos)
        << failed.err;
    // Its output reached the terminal as it came, and the after-run steps still ran.
    EXPECT_EQ(failed.err.find("complaint 1\ncomplaint 2\n"), 0u) << failed.err;
    EXPECT_EQ(dir.Read("app1/games/Orbit.ssd"), "orbit+saved");
    EXPECT_FALSE(dir.Exists("emu/discs/DISC.ssd"));

    // A desktop opener on the PATH that records every call.
    dir.Write("bin/xdg-open", "#!/bin/sh\necho \"$@\" >> '" + dir / "opened" + "'\n");
    SetMode(dir / "bin/xdg-open", 0755);
    std::vector<std::string> env = Env();
    env.push_back("PATH=" + dir / "bin" + ":" + std::getenv("PATH"));
    SetMode(emulator, 0644);
    const ProcessOutput notExecutable = RunProcess(Argv("app1", {"--program", "0", "--yes"}), env);
    EXPECT_EQ(notExecutable.status, 1);
    EXPECT_EQ(notExecutable.err, "Error: Cannot start " + emulator + ": the file is not executable\n");
    EXPECT_FALSE(dir.Exists("opened"));
    EXPECT_EQ(dir.Read("app1/games/Orbit.ssd"), "orbit+saved");
    EXPECT_FALSE(dir.Exists("emu/discs/DISC.ssd")); // the working copy is cleaned up as after a run

    // A Windows emulator named directly: the message tells how Wine runs it.
    std::filesystem::rename(emulator, emulator + ".exe");
    MakeApp("app3", {}, "emu/beebem.exe");
    const ProcessOutput windows = RunProcess(Argv("app3", {"--no-program", "--wait"}), env);
    EXPECT_EQ(windows.status, 1);
    EXPECT_EQ(windows.err,
        "Error: Cannot start " + emulator
            + ".exe: the file is not executable. A Windows emulator runs through Wine: "
              "make wine the emulator file and put "
            + emulator + ".exe first on its command line\n");
    EXPECT_FALSE(dir.Exists("opened"));
}
