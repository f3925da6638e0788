#pragma once
// What keeps a launch from overwriting or deleting, through an emulator's working file,
// a file that the catalogue owns or names. Files are compared by identity (device and
// inode after links), never by name: a link, a second hard link or another spelling of a
// path is the same file.

#include "catalogue/Catalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace vorbix {

struct WorkingFileClash {
    std::string WorkingFile;
    // What the working file is, to follow "the emulator's working file T ":
    // "is the same file as X (the image of Elite in the catalogue)".
    std::string Reason;
};

// The first of the working files that is a file of the catalogue: a program's image,
// picture, box cover or document file, one of the two catalogue files or DFS ROM images of
// the application folder, or anything in its Data folder. A working file that does not
// exist clashes with nothing. Each folder the catalogue names is read once, and only the
// paths of a folder that may hold a working file are asked of the system, so a check of
// a million programs costs a listing per folder, not a call per path.
std::optional<WorkingFileClash> FindWorkingFileClash(const Catalogue& catalogue,
    const std::vector<std::string>& workingFiles);

} // namespace vorbix
