#include "catalogue/KeptCopies.h"

#include "catalogue/Utilities.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vorbix {

namespace {

// Far more copies than anyone keeps; past this a folder is taken to refuse new names.
constexpr int kMaxKeptCopies = 9999;

Failure CannotMove(const std::string& path, const std::string& to)
{
    return {"Cannot move file " + path + " to " + to, path};
}

} // namespace

Result<std::string> KeepCopyBeside(const std::string& path, const std::string& tag, FileWriter& writer)
{
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return bytes.Error();
    const std::string stem = path + "." + tag + "-";
    // As the writer does: a folder marked read-only takes no new file, even from root.
    const std::string folder = FolderPart(path);
    if (IsReadOnly(folder.empty() ? std::string(".") : folder))
        return Failure::CannotCreate(stem + "1");
    for (int n = 1; n <= kMaxKeptCopies; ++n) {
        const std::string copy = stem + std::to_string(n);
        const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Failure::CannotCreate(copy);
        }
        ::close(fd);
        if (Status written = writer.WriteFile(copy, bytes.Value()); !written) {
            // Only the file created above stands at that name.
            ::unlink(copy.c_str());
            return written.Error();
        }
        return copy;
    }
    return Failure::CannotCreate(stem + std::to_string(kMaxKeptCopies + 1));
}

Result<std::string> MoveAsideBeside(const std::string& path, const std::string& tag)
{
    const std::string stem = path + "." + tag + "-";
    for (int n = 1; n <= kMaxKeptCopies; ++n) {
        const std::string aside = stem + std::to_string(n);
        const MoveOutcome moved = MoveToFreeName(path, aside);
        if (moved == MoveOutcome::Moved)
            return aside;
        if (moved == MoveOutcome::Failed)
            return CannotMove(path, aside);
    }
    return CannotMove(path, stem + std::to_string(kMaxKeptCopies + 1));
}

} // namespace vorbix
