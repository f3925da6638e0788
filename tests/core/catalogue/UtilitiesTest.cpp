#include "catalogue/Utilities.h"

#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <thread>

using namespace vorbix;
using vorbix::test::TempDir;

TEST(Utilities, IncludeBackslashWindowsAndNativePaths)
{
    EXPECT_EQ(IncludeBackslash("C:\\Games"), "C:\\Games\\");
    EXPECT_EQ(IncludeBackslash("C:"), "C:\\");
    EXPECT_EQ(IncludeBackslash("C:\\Games\\"), "C:\\Games\\");
    EXPECT_EQ(IncludeBackslash("Games\\Sub"), "Games\\Sub\\");
    EXPECT_EQ(IncludeBackslash("/home/me/Games"), "/home/me/Games/");
    EXPECT_EQ(IncludeBackslash("/home/me/"), "/home/me/");
    EXPECT_EQ(IncludeBackslash("Games"), "Games/");
    EXPECT_EQ(IncludeBackslash(""), "/");
    // A colon that is not a drive designator is an ordinary character.
    EXPECT_EQ(IncludeBackslash("/media/disk:2"), "/media/disk:2/");
}

TEST(Utilities, TrimTrailingSpacesDropsOnlyTrailingSpaceCharacters)
{
    EXPECT_EQ(TrimTrailingSpaces("  ab  "), "  ab");
    EXPECT_EQ(TrimTrailingSpaces("    "), "");
    EXPECT_EQ(TrimTrailingSpaces(""), "");
    EXPECT_EQ(TrimTrailingSpaces("ab\t "), "ab\t");
    EXPECT_EQ(TrimTrailingSpaces("ab\t"), "ab\t");
}

TEST(Utilities, FileNameNoExtAndParts)
{
    EXPECT_EQ(FileNameNoExt("C:\\Games\\Demo.v2.ssd"), "Demo.v2");
    EXPECT_EQ(FileNameNoExt(".ssd"), "");
    EXPECT_EQ(FileNameNoExt("C:\\Dir.v1\\Game"), "Game");
    EXPECT_EQ(FileNameNoExt("C:Game.ssd"), "Game");
    EXPECT_EQ(FileNameNoExt("/home/me/Dir.v1/Elite.ssd"), "Elite");
    EXPECT_EQ(FileNameNoExt("/home/me/Dir.v1/Elite"), "Elite");
    EXPECT_EQ(FileNameNoExt("/media/disk:2/Elite.ssd"), "Elite");
    EXPECT_EQ(FolderPart("C:\\Games\\Demo.ssd"), "C:\\Games\\");
    EXPECT_EQ(FolderPart("C:Demo.ssd"), "C:");
    EXPECT_EQ(FolderPart("z:Demo.ssd"), "z:");
    // Only an ASCII letter makes a drive, whatever the locale calls a letter.
    EXPECT_EQ(FolderPart("1:Demo.ssd"), "");
    EXPECT_EQ(FolderPart("\xE9:Demo.ssd"), "");
    EXPECT_EQ(FolderPart("Demo.ssd"), "");
    EXPECT_EQ(FolderPart("/a/b.ssd"), "/a/");
    EXPECT_EQ(FileExtension("/a.b/c"), "");
    EXPECT_EQ(FileExtension("/a/c.Ssd"), ".Ssd");
}

TEST(Utilities, FolderNameExamples)
{
    EXPECT_EQ(FolderName("C:\\Games\\Bluesky\\Demo.ssd"), "Bluesky");
    EXPECT_EQ(FolderName("Games\\Demo.ssd"), "Games");
    EXPECT_EQ(FolderName("C:\\Demo.ssd"), "");
    EXPECT_EQ(FolderName("C:\\Games\\Demo.ssd"), "\\Games");
    EXPECT_EQ(FolderName("\\\\server\\share\\x.ssd"), "share");
    EXPECT_EQ(FolderName("Demo.ssd"), "");
    EXPECT_EQ(FolderName("/Games/Demo.ssd"), "/Games");
    EXPECT_EQ(FolderName("/home/me/Bluesky/Demo.ssd"), "Bluesky");
    EXPECT_EQ(FolderName("/Demo.ssd"), "");
}

TEST(Utilities, PictureNamesBesideTheImage)
{
    EXPECT_EQ(PictureFileFor("C:\\Games\\Demo.ssd"), "C:\\Games\\Demo.jpg");
    EXPECT_EQ(BoxCoverFileFor("C:\\Games\\Demo.ssd"), "C:\\Games\\Demo-box.jpg");
    EXPECT_EQ(PictureFileFor("/g/Demo.v2.ssd"), "/g/Demo.v2.jpg");
    EXPECT_EQ(BoxCoverFileFor("Demo"), "/Demo-box.jpg");
    EXPECT_EQ(PictureFileFor("C:Demo.ssd"), "C:\\Demo.jpg");
}

TEST(Utilities, NamesMatchAndFindPublisher)
{
    EXPECT_TRUE(NamesMatch("BLUESKY", "bluesky"));
    EXPECT_TRUE(NamesMatch("BlueSky", "Blue Sky"));
    EXPECT_FALSE(NamesMatch("bluesky", "Blue Sky"));
    EXPECT_FALSE(NamesMatch("Blue", "Bluesky"));

    NameList publishers;
    publishers.Add("Blue Sky");
    publishers.Add("BlueSky");
    EXPECT_EQ(FindPublisher("bluesky", publishers), "BlueSky");
    // Both match; the later one in list order wins.
    const std::string last = publishers[1];
    EXPECT_EQ(FindPublisher("BlueSky", publishers), last);
    EXPECT_EQ(FindPublisher("Acornsoft", publishers), "");
    EXPECT_EQ(FindPublisher("\\Games", publishers), "");
}

TEST(Utilities, TextHelpers)
{
    EXPECT_EQ(SplitCamelCase("BlueSky"), "Blue Sky");
    EXPECT_EQ(SplitCamelCase("SpaceGame2"), "Space Game2");
    EXPECT_EQ(SplitCamelCase("ABCSoft"), "ABCSoft");
    EXPECT_EQ(SplitCamelCase("mrXy"), "mr Xy");
    EXPECT_EQ(SplitCamelCase("aBcD"), "a Bc D");
    EXPECT_EQ(SplitCamelCase(""), "");
    EXPECT_TRUE(IsUpperAscii('A'));
    EXPECT_TRUE(IsUpperAscii('Z'));
    EXPECT_FALSE(IsUpperAscii('a'));
    EXPECT_FALSE(IsUpperAscii('\xC4'));
    EXPECT_TRUE(IsLowerAscii('z'));
    EXPECT_FALSE(IsLowerAscii('{'));
    EXPECT_EQ(MinInt(3, 2), 2);
    EXPECT_EQ(MinInt(-1, 5), -1);
    EXPECT_EQ(RemoveChar('&', "&File &&Edit&"), "File Edit");
    EXPECT_EQ(RemoveChar('x', ""), "");
    EXPECT_EQ(ReplaceChar('\\', '/', "C:\\a\\b"), "C:/a/b");
    EXPECT_EQ(CopyRange("abcdef", 2, 4), "bcd");
    EXPECT_EQ(CopyRange("abc", 3, 2), "");
    EXPECT_EQ(CopyRange("abc", 2, 10), "bc");
    EXPECT_EQ(CopyRange("abc", 4, 10), "");
    EXPECT_EQ(CopyRange("abc", 0, 1), "a");
    EXPECT_EQ(CopyRange("abc", 1, 1), "a");
}

TEST(Utilities, CopyFileOverwriteOntoReadOnlyDestinationLeavesWritableCopy)
{
    TempDir dir;
    std::string src = dir.Write("src.ssd", std::string("disk\0bytes", 10));
    std::string dst = dir.Write("dst.ssd", "old");
    test::SetMode(src, 0444);
    test::SetMode(dst, 0444);
    ASSERT_TRUE(CopyFileOverwrite(src, dst));
    EXPECT_EQ(dir.Read("dst.ssd"), std::string("disk\0bytes", 10));
    struct stat st {};
    ASSERT_EQ(::stat(dst.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    EXPECT_FALSE(IsReadOnly(dst));
    // The source keeps its own attributes.
    EXPECT_TRUE(IsReadOnly(src));

    // As the platform's copy: a writable destination in a read-only folder is overwritten,
    // and a destination that is a link has its target overwritten.
    std::string inReadOnly = dir.Write("emu/disc.ssd", "old");
    test::SetMode(dir / "emu", 0555);
    EXPECT_TRUE(CopyFileOverwrite(src, inReadOnly));
    test::SetMode(dir / "emu", 0755);
    EXPECT_EQ(dir.Read("emu/disc.ssd"), std::string("disk\0bytes", 10));
    std::filesystem::create_symlink(inReadOnly, dir / "link.ssd");
    EXPECT_TRUE(CopyFileOverwrite(dir.Write("other.ssd", "other"), dir / "link.ssd"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ssd"));
    EXPECT_EQ(dir.Read("emu/disc.ssd"), "other");
}

TEST(Utilities, CopyFileOverwriteFailures)
{
    TempDir dir;
    std::string src = dir.Write("src.ssd", "data");
    EXPECT_FALSE(CopyFileOverwrite(dir / "missing.ssd", dir / "out.ssd"));
    EXPECT_FALSE(dir.Exists("out.ssd"));
    EXPECT_FALSE(CopyFileOverwrite(src, dir / "no/such/folder/out.ssd"));
    // A new file in a fresh place is created.
    EXPECT_TRUE(CopyFileOverwrite(src, dir / "out.ssd"));
    EXPECT_EQ(dir.Read("out.ssd"), "data");
    // No temporary file stays behind.
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(Utilities, ClearFileAttributesGivesOwnerWrite)
{
    TempDir dir;
    std::string f = dir.Write("f", "x");
    test::SetMode(f, 0444);
    ClearFileAttributes(f);
    struct stat st {};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ClearFileAttributes(dir / "missing"); // no error for a missing file
}
