#include "catalogue/KeptCopies.h"

#include "catalogue/Utilities.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

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

namespace {

// Reads until room is full or the file ends: the count read, -1 when it cannot be read.
long long ReadFull(FileStream& file, char* to, std::size_t room)
{
    std::size_t have = 0;
    while (have < room) {
        const long long n = file.ReadSome(to + have, room - have);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    return static_cast<long long>(have);
}

// Whether two files hold the same bytes, read side by side a piece at a time: a catalogue
// file of gigabytes is never held whole for the comparison.
bool SameBytes(const std::string& a, const std::string& b)
{
    Result<FileStream> first = FileStream::Open(a);
    Result<FileStream> second = FileStream::Open(b);
    if (!first || !second || first.Value().OpenedSize() != second.Value().OpenedSize())
        return false;
    constexpr std::size_t kPiece = 1 << 16;
    std::vector<char> one(kPiece);
    std::vector<char> two(kPiece);
    for (;;) {
        const long long n = ReadFull(first.Value(), one.data(), kPiece);
        const long long m = ReadFull(second.Value(), two.data(), kPiece);
        if (n < 0 || n != m || std::memcmp(one.data(), two.data(), static_cast<std::size_t>(n)) != 0)
            return false;
        if (n == 0)
            return true;
    }
}

} // namespace

std::string KeptCopyHolding(const std::string& path, const std::string& tag)
{
    std::error_code pathError;
    const std::uintmax_t size = std::filesystem::file_size(path, pathError);
    if (pathError)
        return {};
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
        if (!it->is_regular_file(sizeError) || it->file_size(sizeError) != size || sizeError)
            continue;
        std::string copy = folder + name;
        if (SameBytes(path, copy))
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
