#pragma once
// File operations on paths given as catalogue text. Paths are used as they stand
// (bytes in the system code page); nothing here re-encodes.

#include "host/Result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

// Whether the path starts with a drive designator: an ASCII letter and a colon ("C:"), the
// only place a colon is more than an ordinary character in a catalogue path.
bool HasDriveDesignator(std::string_view path);

bool FileExists(const std::string& path); // a file (not a folder) exists
bool IsRegularFile(const std::string& path); // a regular file (not a FIFO, device or folder) exists
bool PathExists(const std::string& path); // anything exists at the path, a broken link too
bool DirectoryExists(const std::string& path); // a folder exists
bool DeleteFileAt(const std::string& path); // removes a file; true when it is gone now
// Whether the path names its place from the root of this system, whatever folder the
// program runs in. A relative name, an empty one and a path written on Windows do not.
bool IsFullPath(const std::string& path);

// What a file is, whatever it is called: its device and inode. Two paths name the same file
// when their identities are equal, through links and other names alike.
struct DeviceInode {
    unsigned long long Device = 0;
    unsigned long long Inode = 0;
    bool operator==(const DeviceInode&) const = default;
};

// The identity of the file at path after following links; nothing when no file can be
// reached there (nothing at the path, a dangling link, a Windows path).
std::optional<DeviceInode> IdentityOf(const std::string& path);

// Whether the folder that holds path, once links are resolved, is the folder of the given
// identity or lies inside it, at any depth.
bool LiesInFolder(const std::string& path, const DeviceInode& folder);

// Moves what stands at from to the name to, only while nothing stands there: a file moved
// so never replaces another. NameTaken when to exists; Failed (errno set) otherwise.
// Uses renameat2 with RENAME_NOREPLACE, or on file systems without it a hard link and the
// removal of the old name, or without hard links an exclusively created name that the
// move then replaces.
enum class MoveOutcome { Moved, NameTaken, Failed };
MoveOutcome MoveToFreeName(const std::string& from, const std::string& to);

// Creates the folder and any missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& path);

// A file or folder counts as read-only when we may not write it or its owner-write
// permission is off (the counterpart of the read-only attribute, honoured even for root).
bool IsReadOnly(const std::string& path);

// Reads a whole file; "Cannot open file " + path when it cannot be read.
Result<std::string> ReadFileBytes(const std::string& path);
// A file read once from start to end in pieces, for a reader that keeps only the part it is
// working on: reading a large file then costs a small buffer, not a copy of the file.
class FileStream {
public:
    FileStream() = default;
    FileStream(FileStream&& other) noexcept;
    FileStream& operator=(FileStream&& other) noexcept;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;
    ~FileStream();

    // Opens the file, with the failures of ReadFileBytes.
    static Result<FileStream> Open(const std::string& path);

    // Reads up to room bytes into to: the count read, 0 at the end of the file, -1 when the
    // file cannot be read.
    long long ReadSome(char* to, std::size_t room);
    // The file's size when it was opened.
    std::size_t OpenedSize() const { return openedSize_; }

private:
    int fd_ = -1;
    std::size_t openedSize_ = 0;
};

// Reads a file as lines (CR LF, CR or LF end a line; a final line break adds no empty line).
Result<std::vector<std::string>> ReadFileLines(const std::string& path);
std::vector<std::string> SplitLines(const std::string& text);

// Joins lines with CR LF after every line.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// Writes whole files for every operation that saves. The file goes to a temporary file in
// the same folder that is flushed to disk and renamed over the target, so a failure never
// leaves a half-written file and the old file stays as it was. Any failure is
// "Cannot create file " + path. A symbolic link is written through to its target; one
// that cannot be followed is "Cannot open file " + path and nothing is written. When the
// folder refuses the temporary file but an existing file is writable, the file is written
// in place instead. Operations that save take a writer, so that a test can hand in one
// that fails part-way (a full disk) or looks on while the file is written.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    Status WriteFile(const std::string& path, const std::string& bytes);

private:
    static Result<std::string> ResolveTarget(const std::string& path);
    Status WriteInPlace(const std::string& path, const std::string& bytes, const Failure& failed);

protected:
    // Writes bytes to the open temporary file; false when the disk refuses them.
    virtual bool WriteBytes(int fd, const char* data, std::size_t size);
    // The temporary file is complete and about to replace the target.
    virtual void BeforeRename(const std::string& /*tempPath*/) {}
};

// The writer of the real system.
FileWriter& SystemFileWriter();

// SystemFileWriter().WriteFile(path, bytes).
Status WriteFileAtomic(const std::string& path, const std::string& bytes);

} // namespace vorbix
