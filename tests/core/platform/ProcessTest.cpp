#include "platform/Process.h"
#include "catalogue/Utilities.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
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

// Waits until the file holds at least the given number of lines.
bool WaitForLines(const std::string& path, std::size_t lines = 1)
{
    for (int i = 0; i < 1000; ++i) {
        const std::string text = test::ReadAll(path);
        if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= lines)
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

std::string ProcessPath()
{
    const char* path = std::getenv("PATH");
    return path != nullptr ? path : "";
}

} // namespace

TEST(Process, StartProgramRunsAnExecutableInItsFolderWithoutWaitingOrZombies)
{
    SystemShell shell;
    TempDir dir;
    std::string out = dir / "out.txt";
    std::string gate = dir / "gate";
    // The program writes its folder once the test has opened the gate, which it does only
    // after the start returned; a start that waited for the program would see it give up.
    std::string emu = Script(dir, "emu.sh",
        "i=0; while [ ! -e '" + gate
            + "' ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i+1)); done\n"
              "if [ -e '"
            + gate + "' ]; then pwd; else echo 'no gate'; fi > '" + out + "'\n");
    test::WriteAll(dir / "work/.keep", "");
    StartResult r = shell.StartProgram(emu, dir / "work", {});
    EXPECT_GT(r.Code, 32);
    EXPECT_EQ(r.Pid, -1);
    test::WriteAll(gate, "");
    ASSERT_TRUE(WaitForLines(out));
    EXPECT_EQ(test::ReadAll(out), dir.path() + "work\n");
    EXPECT_EQ(ZombieChildren(), 0);
}

// The variables a launch sets live in the shell: every later start gets them (a later
// value replaces an earlier one), this process's environment never does, and another
// shell starts afresh.
TEST(Process, AttachedStartPassesArgumentsAndTheShellsVariablesAndCanBeWaitedFor)
{
    TempDir dir;
    std::string out = dir / "args.txt";
    std::string emu = Script(dir, "emu.sh",
        "for a in \"$@\"; do echo \"[$a]\"; done > '" + out
            + "'\n"
              "env | grep '^VBX_' | sort >> '"
            + out
            + "'\n"
              "[ \"$PATH\" = '"
            + ProcessPath() + "' ] && echo inherited >> '" + out
            + "'\n"
              "exit 3\n");
    SystemShell shell(StartedPrograms::Attached);
    shell.SetEnvironmentVariable("VBX_ONE", "1");
    shell.SetEnvironmentVariable("VBX=BAD", "x"); // not a variable name: ignored
    StartResult r = shell.StartProgram(emu, dir.path(), {"-disc", "a b.ssd", ""});
    ASSERT_TRUE(r.Succeeded());
    ASSERT_GT(r.Pid, 0);
    EXPECT_EQ(WaitForProcess(r.Pid), 3);
    EXPECT_EQ(test::ReadAll(out), "[-disc]\n[a b.ssd]\n[]\nVBX_ONE=1\ninherited\n");

    shell.SetEnvironmentVariable("VBX_TWO", "two words");
    shell.SetEnvironmentVariable("VBX_ONE", "uno");
    r = shell.StartProgram(emu, dir.path(), {});
    ASSERT_GT(r.Pid, 0);
    shell.WaitForExit(r.Pid);
    EXPECT_EQ(test::ReadAll(out), "VBX_ONE=uno\nVBX_TWO=two words\ninherited\n");
    EXPECT_EQ(std::getenv("VBX_ONE"), nullptr);
    EXPECT_EQ(std::getenv("VBX_TWO"), nullptr);

    SystemShell other(StartedPrograms::Attached);
    r = other.StartProgram(emu, dir.path(), {});
    ASSERT_GT(r.Pid, 0);
    EXPECT_EQ(WaitForProcess(r.Pid), 3);
    EXPECT_EQ(test::ReadAll(out), "inherited\n");
}

// A document with the execute bit (any file on a FAT or NTFS stick) is a document: it goes
// to the opener, as help pages, folders and addresses do, and never runs. The opener is
// found on the PATH the shell gives its programs, so a variable a launch set is seen by
// documents opened afterwards too.
TEST(Process, DocumentsPagesFoldersAndAddressesGoToTheOpenerAndAreNeverExecuted)
{
    SystemShell shell;
    TempDir dir;
    const std::string log = dir / "opened.txt";
    Script(dir, "bin/xdg-open", "echo \"$1|$(pwd)|${VBX_SEEN-unset}\" >> '" + log + "'\n");
    const std::string path = ProcessPath();
    shell.SetEnvironmentVariable("PATH", dir / "bin:" + path);
    shell.SetEnvironmentVariable("VBX_SEEN", "seen");
    // Run, a document would write to the same log, in the place of the opener's line.
    const std::string doc = Script(dir, "docs/Manual.txt", "echo executed >> '" + log + "'\n");
    const std::string page = Script(dir, "HELP/PROGS.HTM", "echo executed >> '" + log + "'\n");
    const std::string cwd = std::filesystem::current_path().string();

    EXPECT_GT(ShellOpen(shell, doc), 32);
    ASSERT_TRUE(WaitForLines(log, 1));
    EXPECT_GT(ShellOpenIn(shell, page, dir / "HELP/"), 32);
    ASSERT_TRUE(WaitForLines(log, 2));
    EXPECT_GT(ShellOpen(shell, dir / "docs"), 32);
    ASSERT_TRUE(WaitForLines(log, 3));
    EXPECT_GT(ShellOpen(shell, "http://www.example.org/"), 32);
    ASSERT_TRUE(WaitForLines(log, 4));
    EXPECT_GT(ShellOpen(shell, "mailto:someone@example.org"), 32);
    ASSERT_TRUE(WaitForLines(log, 5));
    EXPECT_EQ(test::ReadAll(log),
        doc + "|" + cwd + "|seen\n" + page + "|" + dir.path() + "HELP|seen\n" + dir / "docs|" + cwd
            + "|seen\nhttp://www.example.org/|" + cwd + "|seen\nmailto:someone@example.org|" + cwd + "|seen\n");
    EXPECT_EQ(ProcessPath(), path);
    EXPECT_EQ(std::getenv("VBX_SEEN"), nullptr);
    EXPECT_EQ(ZombieChildren(), 0);
}

TEST(Process, FailuresGiveShellCodesAtOrBelow32)
{
    TempDir dir;
    std::string emu = Script(dir, "emu.sh", "exit 0\n");
    // A script whose interpreter is missing fails in exec, after the fork: detached (where
    // the failure comes from the grandchild) and attached alike.
    std::string orphan = dir.Write("orphan.sh", "#!/no/such/interpreter\n");
    test::SetMode(orphan, 0755);
    // A file that claims to be executable but cannot be executed.
    std::string broken = dir.Write("broken",
        "\x7f"
        "ELF garbage");
    test::SetMode(broken, 0755);
    for (bool attached : {false, true}) {
        SystemShell shell(attached ? StartedPrograms::Attached : StartedPrograms::Detached);
        EXPECT_LE(shell.StartProgram(dir / "missing", dir.path(), {}).Code, 32);
        EXPECT_LE(shell.StartProgram("", dir.path(), {}).Code, 32);
        EXPECT_LE(shell.StartProgram(emu, dir / "no-such-folder", {}).Code, 32);
        StartResult r = shell.StartProgram(orphan, dir.path(), {});
        EXPECT_LE(r.Code, 32) << attached;
        EXPECT_EQ(r.Pid, -1);
        EXPECT_LE(shell.StartProgram(broken, dir.path(), {}).Code, 32) << attached;
        EXPECT_EQ(ZombieChildren(), 0);
    }
    SystemShell shell;
    EXPECT_LE(ShellOpen(shell, dir / "missing.pdf"), 32);
    EXPECT_LE(ShellOpen(shell, ""), 32);
    EXPECT_LE(ShellOpenIn(shell, emu, dir / "no-such-folder"), 32);
    // No opener on the shell's PATH.
    shell.SetEnvironmentVariable("PATH", dir / "empty");
    EXPECT_LE(ShellOpen(shell, emu), 32);
    EXPECT_TRUE(IsAddress("https://x.org"));
    EXPECT_TRUE(IsAddress("mailto:a@b"));
    EXPECT_FALSE(IsAddress("C:\\Games\\x.ssd"));
    EXPECT_FALSE(IsAddress("/home/x://y"));
}
