#pragma once
// A temporary folder for one test, removed with everything in it at the end.

#include <map>
#include <string>

namespace vorbix::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending in '/'.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Writes a file (creating its folders) with exactly these bytes; returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // Every file below the folder (relative name, with '/') with its bytes; a folder is
    // listed with a trailing '/' and no bytes. Two equal results mean nothing was written.
    std::map<std::string, std::string> Contents() const;

private:
    std::string path_;
};

// Reads any file's bytes ("" when missing).
std::string ReadAll(const std::string& path);
// Writes bytes to a path, creating its folders.
void WriteAll(const std::string& path, const std::string& bytes);
// Sets the permission bits of a path.
void SetMode(const std::string& path, unsigned mode);

} // namespace vorbix::test
