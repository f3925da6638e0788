#pragma once
// File operations on paths given as catalogue text. Paths are used as they stand
// (bytes in the system code page); nothing here re-encodes.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorbix {

bool FileExists(const std::string& path);       // a file (not a folder) exists
bool PathExists(const std::string& path);       // anything exists at the path
bool DirectoryExists(const std::string& path);  // a folder exists
bool DeleteFileAt(const std::string& path);     // removes a file; true when it is gone now

// Creates the folder and any missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& path);

// A file or folder counts as read-only when we may not write it or its owner-write
// permission is off (the counterpart of the read-only attribute, honoured even for root).
bool IsReadOnly(const std::string& path);

// Reads a whole file. Throws FileError::Open when it exists but cannot be read.
std::string ReadFileBytes(const std::string& path);
// Reads a file as lines (CR LF, CR or LF end a line; a final line break adds no empty line).
std::vector<std::string> ReadFileLines(const std::string& path);
std::vector<std::string> SplitLines(const std::string& text);

// Writes a file through a temporary file in the same folder that is flushed to disk and
// renamed over the target, so a failure never leaves a half-written file and the old file
// stays as it was. Throws FileError::Create (with the target path) on any failure.
void WriteFileAtomic(const std::string& path, const std::string& bytes);

// Joins lines with CR LF after every line.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// A test hook: called with the temporary file's path after it is written and before the
// rename; throwing from it simulates a crash in the middle of a save.
void SetAtomicWriteHookForTesting(std::function<void(const std::string& tempPath)> hook);

} // namespace vorbix
