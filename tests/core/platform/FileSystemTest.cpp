#include "platform/FileSystem.h"

#include "support/TempDir.h"
#include "support/Writers.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vorbix;
using vorbix::test::TempDir;

namespace {

int EntriesIn(const std::string& folder)
{
    int n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}

// Writes under a file-size limit, which makes the disk refuse bytes past it as a full disk
// does.
Status WriteWithSizeLimit(const std::string& path, const std::string& bytes, rlim_t limit)
{
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = limit;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    Status written = WriteFileAtomic(path, bytes);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return written;
}

} // namespace

TEST(FileSystem, SplitLinesAcceptsEveryLineBreak)
{
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitLines("\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(FileSystem, WriteFileAtomicReplacesKeepingPermissions)
{
    TempDir dir;
    std::string path = dir.Write("f.txt", "old");
    test::SetMode(path, 0640);
    EXPECT_TRUE(WriteFileAtomic(path, std::string("new\0bytes", 9)).Ok());
    EXPECT_EQ(dir.Read("f.txt"), std::string("new\0bytes", 9));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(EntriesIn(dir.path()), 1);
}

TEST(FileSystem, WriteFileAtomicRefusesReadOnlyTargetsAndKeepsTheOldFile)
{
    TempDir dir;
    std::string file = dir.Write("ro.txt", "keep me");
    test::SetMode(file, 0444);
    EXPECT_EQ(WriteFileAtomic(file, "lost").Error(), (Failure{"Cannot create file " + file, file}));
    EXPECT_EQ(dir.Read("ro.txt"), "keep me");

    // A read-only folder: a writable file in it is written in place (shorter and longer
    // contents both come out exact), a new file or a read-only one is refused.
    std::string folder = dir / "rodir";
    std::filesystem::create_directory(folder);
    test::WriteAll(folder + "/x.txt", "old contents of x");
    test::WriteAll(folder + "/ro.txt", "keep");
    test::SetMode(folder + "/ro.txt", 0444);
    test::SetMode(folder, 0555);
    EXPECT_TRUE(WriteFileAtomic(folder + "/x.txt", "new x").Ok());
    EXPECT_EQ(test::ReadAll(folder + "/x.txt"), "new x");
    EXPECT_TRUE(WriteFileAtomic(folder + "/x.txt", std::string(70000, 'y')).Ok());
    EXPECT_EQ(test::ReadAll(folder + "/x.txt"), std::string(70000, 'y'));
    EXPECT_EQ(WriteFileAtomic(folder + "/new.txt", "n").Message(), "Cannot create file " + folder + "/new.txt");
    EXPECT_FALSE(WriteFileAtomic(folder + "/ro.txt", "lost").Ok());
    // In place on a full disk: the space is claimed before a byte is overwritten.
    EXPECT_FALSE(WriteWithSizeLimit(folder + "/x.txt", std::string(100000, 'z'), 80000).Ok());
    test::SetMode(folder, 0755);
    EXPECT_EQ(test::ReadAll(folder + "/x.txt"), std::string(70000, 'y'));
    EXPECT_EQ(test::ReadAll(folder + "/ro.txt"), "keep");
    EXPECT_EQ(EntriesIn(folder), 2);
    EXPECT_FALSE(WriteFileAtomic(dir / "missing/x.txt", "x").Ok());
    EXPECT_FALSE(WriteFileAtomic(dir.path(), "x").Ok());
}

TEST(FileSystem, WriteFileAtomicOnAFullDiskLeavesTheOldFile)
{
    TempDir dir;
    std::string path = dir.Write("big.txt", "the old contents");
    const Status written = WriteWithSizeLimit(path, std::string(100000, 'x'), 4096);
    EXPECT_EQ(written.Message(), "Cannot create file " + path);
    EXPECT_EQ(dir.Read("big.txt"), "the old contents");
    EXPECT_EQ(EntriesIn(dir.path()), 1);
}

TEST(FileSystem, CrashBeforeRenameNeverReplacesTheTarget)
{
    TempDir dir;
    std::string path = dir.Write("Data/programs.xml", "catalogue");
    test::WatchingWriter crash;
    crash.OnWrite = [](const std::string&) { throw std::runtime_error("crash"); };
    EXPECT_THROW((void)crash.WriteFile(path, "half"), std::runtime_error);
    EXPECT_EQ(dir.Read("Data/programs.xml"), "catalogue");
    // A disk that fills up after 3 bytes: the temporary file goes, the old file stays.
    test::FailingWriter full(3);
    EXPECT_FALSE(full.WriteFile(path, "half").Ok());
    EXPECT_EQ(dir.Read("Data/programs.xml"), "catalogue");
    // The temporary file is left as a crash would leave it; the next save still works.
    EXPECT_EQ(EntriesIn(dir / "Data"), 2);
    EXPECT_TRUE(WriteFileAtomic(path, "saved").Ok());
    EXPECT_EQ(dir.Read("Data/programs.xml"), "saved");
}

TEST(FileSystem, SymbolicLinksAreWrittenThroughAndBrokenOnesRefused)
{
    namespace fs = std::filesystem;
    TempDir dir;
    std::string target = dir.Write("real/programs.xml", "old");
    test::SetMode(target, 0640);
    fs::create_directory(dir / "Data");
    fs::create_symlink(target, dir / "Data/programs.xml");
    EXPECT_TRUE(WriteFileAtomic(dir / "Data/programs.xml", "new").Ok());
    EXPECT_TRUE(fs::is_symlink(dir / "Data/programs.xml"));
    EXPECT_EQ(dir.Read("real/programs.xml"), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms(0640));
    EXPECT_EQ(EntriesIn(dir / "Data"), 1);
    EXPECT_EQ(EntriesIn(dir / "real"), 1);

    // A dangling link and a looping one: "Cannot open file", and the link stays as it was.
    fs::create_symlink(dir / "gone/options.xml", dir / "Data/options.xml");
    fs::create_symlink(dir / "Data/b", dir / "Data/a");
    fs::create_symlink(dir / "Data/a", dir / "Data/b");
    for (const char* name : {"Data/options.xml", "Data/a"}) {
        const std::string link = dir / name;
        EXPECT_TRUE(PathExists(link)) << name;
        EXPECT_FALSE(FileExists(link)) << name;
        EXPECT_EQ(ReadFileBytes(link).Message(), "Cannot open file " + link);
        EXPECT_EQ(WriteFileAtomic(link, "empty catalogue").Error(), Failure::CannotOpen(link));
        EXPECT_TRUE(fs::is_symlink(link)) << name;
    }
    EXPECT_FALSE(fs::exists(dir / "gone"));
    EXPECT_EQ(EntriesIn(dir / "Data"), 4);
}

TEST(FileSystem, ReadAndExistenceTests)
{
    TempDir dir;
    // A Windows path is never looked up relative to the current folder, even where a file of
    // that very name lies there.
    {
        const std::string here = std::filesystem::current_path().string();
        std::filesystem::current_path(dir.path());
        dir.Write("C:\\Elite.ssd", "x");
        dir.Write("Games\\Elite.ssd", "x");
        const bool found =
            FileExists("C:\\Elite.ssd") || PathExists("Games\\Elite.ssd") || ReadFileBytes("C:\\Elite.ssd").Ok();
        std::filesystem::current_path(here);
        EXPECT_FALSE(found);
        EXPECT_TRUE(FileExists(dir / "C:\\Elite.ssd")); // an absolute path of ours is looked up
    }
    dir.Write("a/b.txt", "x\r\ny");
    EXPECT_TRUE(FileExists(dir / "a/b.txt"));
    EXPECT_FALSE(FileExists(dir / "a"));
    EXPECT_TRUE(DirectoryExists(dir / "a"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_EQ(ReadFileLines(dir / "a/b.txt").Value(), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(ReadFileBytes(dir / "a").Message(), "Cannot open file " + dir / "a");
    EXPECT_EQ(ReadFileBytes(dir / "none").Error().Path, dir / "none");
    EXPECT_TRUE(ForceDirectories(dir / "p/q/r"));
    EXPECT_TRUE(DirectoryExists(dir / "p/q/r"));
    EXPECT_TRUE(DeleteFileAt(dir / "a/b.txt"));
    EXPECT_TRUE(DeleteFileAt(dir / "a/b.txt"));
    EXPECT_FALSE(FileExists(dir / "a/b.txt"));
}

TEST(FileWriter, ATemporaryFileLeftByAKilledWriteGoesWithTheNextWriteOfTheSameFile)
{
    TempDir dir;
    const std::string target = dir.Write("Orbit.ssd", "old");
    const auto age = [](const std::string& path) {
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::minutes(1));
    };
    const std::string leftover = dir.Write("Orbit.ssd.vbxtmp-AbC123", std::string(1000, 'x'));
    age(leftover);
    // Still being written by a live process (its lock held), or only just made: kept.
    const std::string live = dir.Write("Orbit.ssd.vbxtmp-LiVe00", "live");
    age(live);
    const int held = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const std::string young = dir.Write("Orbit.ssd.vbxtmp-YoUng0", "young");
    // Another file's temporary, and a name that only looks alike.
    const std::string other = dir.Write("Elite.ssd.vbxtmp-AbC123", "other");
    age(other);
    const std::string alike = dir.Write("Orbit.ssd.vbxtmp-AbC1234", "alike");
    age(alike);

    ASSERT_TRUE(WriteFileAtomic(target, "new").Ok());
    EXPECT_EQ(dir.Read("Orbit.ssd"), "new");
    EXPECT_FALSE(std::filesystem::exists(leftover));
    for (const std::string& kept : {live, young, other, alike})
        EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
    ::close(held);
}
