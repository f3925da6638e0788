#pragma once
// Whether many files exist, asked at once: the links check asks it for the image, the
// picture, the box cover and every document of each program, hundreds of thousands of
// paths that mostly lie in a few folders. Each folder is read once, and a path is then
// looked up among the names found there, instead of one system call per path. Only folders
// on file systems whose names are exact bytes are read so; elsewhere each path is asked.

#include <string>
#include <unordered_map>

namespace vorbix {

class FileExistenceCache {
public:
    // The same answer as FileExists(path), as the folders were when first read.
    bool FileExists(const std::string& path);

private:
    struct Folder {
        bool listed = false;  // read; else every name is asked of the system
        std::unordered_map<std::string, unsigned char> types;  // name -> directory entry type
    };
    Folder& FolderAt(const std::string& folder);

    std::unordered_map<std::string, Folder> folders_;
};

} // namespace vorbix
