#pragma once
// Finding which folders may hold a given file among many folders, each read once: a
// file's inode is in its folder's listing, so a folder whose listing lacks it does not hold
// it under any name, and none of its paths needs to be asked of the system.

#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace vorbix {

// Whether the folder may hold an entry that is one of the files (by identity). The folder
// is read once: an entry whose inode is one of the files' on the folder's device may be
// one; links and entries of unknown type are asked of the system. A missing folder holds
// none. A folder that cannot be read, or whose file system's listing is not known to give
// the inodes that stat gives (FAT, network shares), may hold any: each of its paths must
// be asked.
bool FolderMayHold(const std::string& folder, const std::vector<DeviceInode>& files);

} // namespace vorbix
