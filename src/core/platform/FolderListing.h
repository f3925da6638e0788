#pragma once
// Reading a folder's entries with what each one is, links followed, in one pass over the
// folder: what a walk through a tree of image files needs to tell files from folders,
// special files and links that lead nowhere, and two names of one file apart.

#include "host/Result.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

enum class EntryKind : std::uint8_t {
    File, // a regular file (through any links)
    Folder,
    Special, // a FIFO, device or socket
    Dangling, // a link that leads to nothing that can be reached
};

struct FolderEntry {
    std::string Name;
    EntryKind Kind = EntryKind::File;
    bool IsLink = false;
    DeviceInode Identity; // of what the entry leads to
    std::uint64_t Size = 0;
};

// The folder's entries other than "." and "..", sorted by name (bytes). A folder that
// cannot be opened is "Cannot open folder " + folder.
Result<std::vector<FolderEntry>> ListFolder(const std::string& folder);

} // namespace vorbix
