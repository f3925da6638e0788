#pragma once
// Whether many files exist, asked at once: the links check asks it for the image, the
// picture, the box cover and every document of each program, hundreds of thousands of
// paths that mostly lie in a few folders. Each folder is read once, and a path is then
// looked up among the names found there, instead of one system call per path. Only folders
// on file systems whose names are exact bytes are read so; elsewhere each path is asked.

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vorbix {

class FileExistenceCache {
public:
    // The same answer as FileExists(path), as the folders were when first read.
    bool FileExists(const std::string& path);

private:
    // Looked up by the parts of a path as they stand, without copying them.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    template <typename Value>
    using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

    struct Folder {
        bool listed = false; // read; else every name is asked of the system
        TextMap<unsigned char> types; // name -> directory entry type
    };
    Folder& FolderAt(std::string_view folder);
    static bool MayBeFolder(const Folder& parent, std::string_view name);

    TextMap<Folder> folders_;
    // The folder asked last: a program's image, picture and box cover share one.
    std::string lastFolder_;
    Folder* last_ = nullptr;
};

} // namespace vorbix
