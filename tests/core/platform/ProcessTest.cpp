#include "catalogue/Utilities.h"
#include "platform/Process.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace vorbix;
using vorbix::test::TempDir;

namespace {

std::string Script(TempDir& dir, const std::string& name, const std::string& body)
{
    std::string path = dir.Write(name, "#!/bin/sh\n" + body);
    test::SetMode(path, 0755);
    return path;
}

bool WaitForFile(const std::string& path)
{
    for (int i = 0; i < 1000; ++i) {
        if (!test::ReadAll(path).empty())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Children of this process that have ended but were not reaped.
int ZombieChildren()
{
    int zombies = 0;
    DIR* proc = ::opendir("/proc");
    const std::string self = std::to_string(::getpid());
    while (dirent* e = ::readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + e->d_name + "/stat");
        std::string pid, comm, state, ppid;
        if (stat >> pid >> comm >> state >> ppid && state == "Z" && ppid == self)
            ++zombies;
    }
    ::closedir(proc);
    return zombies;
}

// Puts a folder first on PATH for the lifetime of the object.
struct PathPrefix {
    std::string old;
    explicit PathPrefix(const std::string& folder) : old(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        ::setenv("PATH", (folder + ":" + old).c_str(), 1);
    }
    ~PathPrefix() { ::setenv("PATH", old.c_str(), 1); }
};

} // namespace

TEST(Process, ShellOpenInStartsAnExecutableInItsFolderWithoutWaitingOrZombies)
{
    SystemShell shell;
    TempDir dir;
    std::string out = dir / "out.txt";
    std::string emu = Script(dir, "emu.sh", "sleep 2; pwd > '" + out + "'\n");
    test::WriteAll(dir / "work/.keep", "");
    auto start = std::chrono::steady_clock::now();
    EXPECT_GT(ShellOpenIn(shell, emu, dir / "work"), 32);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(test::ReadAll(out), dir.path() + "work\n");
    EXPECT_EQ(ZombieChildren(), 0);
}

TEST(Process, AttachedStartPassesArgumentsAndCanBeWaitedFor)
{
    TempDir dir;
    std::string out = dir / "args.txt";
    std::string emu = Script(dir, "emu.sh", "for a in \"$@\"; do echo \"[$a]\"; done > '" + out + "'\nexit 3\n");
    SystemShell shell(true);
    StartResult r = shell.OpenIn(emu, dir.path(), {"-disc", "a b.ssd", ""});
    ASSERT_TRUE(r.Succeeded());
    ASSERT_GT(r.Pid, 0);
    EXPECT_EQ(WaitForProcess(r.Pid), 3);
    EXPECT_EQ(test::ReadAll(out), "[-disc]\n[a b.ssd]\n[]\n");
}

TEST(Process, DocumentsAndAddressesGoToTheDesktopOpener)
{
    SystemShell shell;
    TempDir dir;
    std::string log = dir / "opened.txt";
    Script(dir, "bin/xdg-open", "echo \"$1\" >> '" + log + "'\n");
    PathPrefix path(dir / "bin");
    std::string doc = dir.Write("manual.pdf", "%PDF");
    EXPECT_GT(ShellOpen(shell, doc), 32);
    ASSERT_TRUE(WaitForFile(log));
    EXPECT_GT(ShellOpen(shell, "http://www.example.org/"), 32);
    EXPECT_GT(ShellOpen(shell, "mailto:someone@example.org"), 32);
    for (int i = 0; i < 500 && test::ReadAll(log).size() < doc.size() + 50; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::string opened = test::ReadAll(log);
    EXPECT_NE(opened.find(doc + "\n"), std::string::npos);
    EXPECT_NE(opened.find("http://www.example.org/\n"), std::string::npos);
    EXPECT_NE(opened.find("mailto:someone@example.org\n"), std::string::npos);
    EXPECT_EQ(ZombieChildren(), 0);
}

TEST(Process, FailuresGiveShellCodesAtOrBelow32)
{
    SystemShell shell;
    TempDir dir;
    EXPECT_LE(ShellOpen(shell, dir / "missing.exe"), 32);
    EXPECT_LE(ShellOpen(shell, ""), 32);
    std::string emu = Script(dir, "emu.sh", "exit 0\n");
    EXPECT_LE(ShellOpenIn(shell, emu, dir / "no-such-folder"), 32);
    // A file that claims to be executable but cannot be executed.
    std::string broken = dir.Write("broken", "\x7f" "ELF garbage");
    test::SetMode(broken, 0755);
    EXPECT_LE(ShellOpen(shell, broken), 32);
    EXPECT_TRUE(IsAddress("https://x.org"));
    EXPECT_TRUE(IsAddress("mailto:a@b"));
    EXPECT_FALSE(IsAddress("C:\\Games\\x.ssd"));
    EXPECT_FALSE(IsAddress("/home/x://y"));
}
