#pragma once
// What a file is on disk, kept so that a later look can tell whether anything has written
// it since: another window, an editor, a sync tool.

#include "host/Result.h"

#include <cstdint>
#include <string>

namespace vorbix {

struct FileIdentity {
    bool Exists = false;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    // CRC-32 of the bytes, so that a file written again with the same bytes (a sync tool, an
    // editor's save without changes) still counts as the same; 0 for what is not a regular file.
    std::uint32_t Checksum = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at path, reading it whole for the checksum; a missing file is
// one that does not exist. A file that cannot be read is "Cannot open file " + path.
Result<FileIdentity> IdentifyFile(const std::string& path);

// The identity of the file at path as its status tells it, without reading it (Checksum 0);
// a missing file, or one that cannot be looked at, is one that does not exist.
FileIdentity StatFile(const std::string& path);

// The identity with the checksum of bytes, for a file just written with them.
Result<FileIdentity> IdentifyWrittenFile(const std::string& path, const std::string& bytes);

// Whether a file stands at path that is not the one known: something has written it since
// (another inode, size or time) and it does not hold the same bytes again. A file that has
// gone holds nothing a write could lose, so it is no change; one that cannot be read is.
bool ChangedSince(const FileIdentity& known, const std::string& path);

} // namespace vorbix
