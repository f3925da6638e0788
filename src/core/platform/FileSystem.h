#pragma once
// File operations on paths given as catalogue text. Paths are used as they stand
// (bytes in the system code page); nothing here re-encodes.

#include "host/Result.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vorbix {

bool FileExists(const std::string& path); // a file (not a folder) exists
bool PathExists(const std::string& path); // anything exists at the path, a broken link too
bool DirectoryExists(const std::string& path); // a folder exists
bool DeleteFileAt(const std::string& path); // removes a file; true when it is gone now

// Creates the folder and any missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& path);

// A file or folder counts as read-only when we may not write it or its owner-write
// permission is off (the counterpart of the read-only attribute, honoured even for root).
bool IsReadOnly(const std::string& path);

// Reads a whole file; "Cannot open file " + path when it cannot be read.
Result<std::string> ReadFileBytes(const std::string& path);
// A whole file read into memory of its own, for a reader that passes through it once from
// start to end: the pages it has passed can be handed back to the system, so reading a
// large file costs little more memory than the part still to be read.
class FileBuffer {
public:
    FileBuffer() = default;
    FileBuffer(FileBuffer&& other) noexcept;
    FileBuffer& operator=(FileBuffer&& other) noexcept;
    FileBuffer(const FileBuffer&) = delete;
    FileBuffer& operator=(const FileBuffer&) = delete;
    ~FileBuffer();

    // Reads the whole file, with the failures of ReadFileBytes.
    static Result<FileBuffer> Read(const std::string& path);

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    // The bytes before offset will not be read again; their whole pages are given back
    // (they read as zeros afterwards).
    void ReleaseBefore(std::size_t offset);

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0; // of the mapping, in bytes
    std::size_t released_ = 0; // bytes from the start already given back
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
