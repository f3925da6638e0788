// One writer per catalogue, between real processes: vorbix-cli's writing commands stop
// while another process holds the catalogue's lock, its reading commands never do, and a
// holder that dies leaves nothing behind that blocks.

#include "platform/CatalogueLock.h"
#include "catalogue/Main_LoadSaveUnit.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorbix;
using vorbix::test::RunProcess;
using vorbix::test::TempDir;

namespace {

test::ProcessOutput Cli(const std::string& appDir, std::vector<std::string> args)
{
    args.insert(args.begin(), {VORBIX_CLI_PATH, "--appdir", appDir});
    return RunProcess(args);
}

// The default application folder, $XDG_DATA_HOME/vorbix/, which need not exist yet.
test::ProcessOutput DefaultCli(const std::string& dataHome, std::vector<std::string> args)
{
    args.insert(args.begin(), VORBIX_CLI_PATH);
    return RunProcess(args, {"XDG_DATA_HOME=" + dataHome});
}

std::string TakenBy(const std::string& appDir, int pid)
{
    return "The catalogue in " + appDir.substr(0, appDir.size() - 1) + " is open in another Vorbix (process "
        + std::to_string(pid) + "); close it first.\n";
}

void WriteCatalogue(const std::string& appDir)
{
    Catalogue c;
    c.AppDir = appDir;
    c.ProgramList.push_back(ProgramRecord{"Orbit", "/g/Orbit.ssd", "Acornsoft", "Game"});
    ASSERT_TRUE(SaveCatalogue(c, false).Ok());
}

} // namespace

TEST(CatalogueLockBetweenProcesses, WritingCommandsStopWhileItIsHeldAndReadingOnesAlwaysWork)
{
    TempDir dir;
    WriteCatalogue(dir.path());
    const auto before = dir.Contents();
    {
        Result<CatalogueLock> held = CatalogueLock::Acquire(dir.path());
        ASSERT_TRUE(held.Ok());
        for (const std::vector<std::string>& writing : std::vector<std::vector<std::string>>{{"resave"},
                 {"run", "--emulator", "BeebEm", "--no-program"}, {"report", "programs"}}) {
            const test::ProcessOutput run = Cli(dir.path(), writing);
            EXPECT_EQ(run.status, 3) << writing[0];
            EXPECT_EQ(run.err, TakenBy(dir.path(), ::getpid())) << writing[0];
        }
        for (const std::vector<std::string>& reading : std::vector<std::vector<std::string>>{{"info"}, {"list"},
                 {"programs"}, {"check"}, {"report", "programs", "--stdout"}}) {
            const test::ProcessOutput run = Cli(dir.path(), reading);
            EXPECT_TRUE(run.status == 0 || run.status == 1) << reading[0] << ": " << run.err;
            EXPECT_FALSE(run.out.empty()) << reading[0];
        }
        EXPECT_EQ(dir.Contents(), before);
    }

    // A holder killed outright: the system has released its lock.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        Result<CatalogueLock> held = CatalogueLock::Acquire(dir.path());
        const char byte = held.Ok() ? 'y' : 'n';
        if (::write(ready[1], &byte, 1) != 1 || !held.Ok())
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    EXPECT_EQ(Cli(dir.path(), {"resave"}).err, TakenBy(dir.path(), holder));
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    const test::ProcessOutput resave = Cli(dir.path(), {"resave"});
    EXPECT_EQ(resave.status, 0) << resave.err;
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(CatalogueLockBetweenProcesses, AFolderWithoutDataIsLockedWithoutWritingAndTheFirstSaveCarriesTheLockOver)
{
    TempDir dir;
    // The default application folder does not exist yet: the folder above it stands for
    // it, and nothing is made to take the lock.
    const std::string missing = dir / "one/vorbix/";
    std::filesystem::create_directories(dir / "one");
    Result<CatalogueLock> held = CatalogueLock::Acquire(missing);
    ASSERT_TRUE(held.Ok());
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(DefaultCli(dir / "one", {"resave"}).err, TakenBy(missing, ::getpid()));
    EXPECT_FALSE(std::filesystem::exists(missing));

    // The first save makes the folders and holds Data, the lock a later start takes; the
    // folder above no longer stands in the way of another catalogue beside this one.
    ASSERT_TRUE(held.Value().HoldData().Ok());
    EXPECT_TRUE(std::filesystem::is_directory(missing + "Data"));
    EXPECT_EQ(DefaultCli(dir / "one", {"resave"}).err, TakenBy(missing, ::getpid()));
    std::filesystem::create_directories(dir / "one/beside");
    EXPECT_EQ(Cli(dir / "one/beside/", {"resave"}).status, 0);

    // A process that started before Data was made holds the application folder; one that
    // starts after Data appeared finds that too, before it holds Data as well.
    const std::string early = dir / "early/";
    std::filesystem::create_directory(early);
    Result<CatalogueLock> earlyHolder = CatalogueLock::Acquire(early);
    ASSERT_TRUE(earlyHolder.Ok());
    std::filesystem::create_directory(early + "Data");
    const test::ProcessOutput refused = Cli(early, {"resave"});
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.err, TakenBy(early, ::getpid()));
    EXPECT_FALSE(std::filesystem::exists(early + "Data/options.xml"));
}
