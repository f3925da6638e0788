#include "catalogue/KeptCopies.h"

#include "catalogue/Utilities.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
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

std::string KeptCopyHolding(const std::string& path, const std::string& tag, const std::string& bytes)
{
    namespace fs = std::filesystem;
    const std::string stem = FileNamePart(path) + "." + tag + "-";
    const std::string folder = FolderPart(path);
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0
            || name.find_first_not_of("0123456789", stem.size()) != std::string::npos)
            continue;
        std::error_code sizeError;
        if (!it->is_regular_file(sizeError) || it->file_size(sizeError) != bytes.size() || sizeError)
            continue;
        std::string copy = folder + name;
        if (Result<std::string> held = ReadFileBytes(copy); held && held.Value() == bytes)
            return copy;
    }
    return {};
}

std::string NextKeptCopyName(const std::string& path, const std::string& tag)
{
    const std::string stem = path + "." + tag + "-";
    int n = 1;
    while (n < kMaxKeptCopies && PathExists(stem + std::to_string(n)))
        ++n;
    return stem + std::to_string(n);
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
