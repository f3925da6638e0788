#include "platform/FileExistence.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace vorbix;
using vorbix::test::TempDir;

// Every kind of path the links check meets gets the answer FileExists gives, from one
// listing per folder (the temporary folder is on a file system of exact names here).
TEST(FileExistenceCache, AnswersAsFileExistsForEveryKindOfPath)
{
    TempDir dir;
    dir.Write("games/Elite.ssd", "x");
    dir.Write("games/Elite.jpg", "x");
    dir.Write("games/sub/inner.ssd", "x");
    dir.Write("plain", "x");
    ASSERT_EQ(::symlink((dir / "games/Elite.ssd").c_str(), (dir / "games/link.ssd").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "games/dangling.ssd").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "games/sub").c_str(), (dir / "games/folderlink").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "games/pipe").c_str(), 0600), 0);

    // First the folders of a missing tree, which have the folder above them read; then
    // each folder inside a listed one, a folder, a link to one or a file, is told apart.
    const std::vector<std::string> paths = {dir / "missing/a/x.ssd", dir / "missing/b/y.ssd", dir / "games/Elite.ssd",
        dir / "games/Elite.jpg", dir / "games/elite.ssd", dir / "games/Elite-box.jpg", dir / "games/sub",
        dir / "games/sub/", dir / "games/sub/inner.ssd", dir / "games/./Elite.ssd", dir / "games/sub/../Elite.ssd",
        dir / "games/.", dir / "games/..", dir / "games/link.ssd", dir / "games/dangling.ssd", dir / "games/folderlink",
        dir / "games/folderlink/inner.ssd", dir / "games/pipe", dir / "plain/inside", dir / "missing/Elite.ssd",
        dir / "games//Elite.ssd", std::string("C:\\BEEB\\Elite.ssd"), std::string("games\\Elite.ssd"), std::string(),
        dir / "games/Elite.ssd" + std::string(1, '\0') + "junk", "/", "relative-missing.ssd"};
    FileExistenceCache cache;
    for (const std::string& path : paths)
        EXPECT_EQ(cache.FileExists(path), FileExists(path)) << path;

    // Relative paths are read from the working folder, as the system reads them.
    const std::filesystem::path before = std::filesystem::current_path();
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    FileExistenceCache relative;
    for (const char* path : {"games/Elite.ssd", "plain", "games/none.ssd", "games/sub"})
        EXPECT_EQ(relative.FileExists(path), FileExists(path)) << path;
    std::filesystem::current_path(before);
}
