#pragma once
// Errors that core operations raise with a user-facing message.

#include <stdexcept>
#include <string>

namespace vorbix {

// Base of every error the system reports to the user by its message.
class VorbixError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that could not be read ("Cannot open file %s") or written ("Cannot create file %s").
class FileError : public VorbixError {
public:
    enum class Kind { Open, Create };

    FileError(Kind kind, std::string path);

    Kind kind() const { return kind_; }
    const std::string& path() const { return path_; }

    static FileError Open(const std::string& path) { return FileError(Kind::Open, path); }
    static FileError Create(const std::string& path) { return FileError(Kind::Create, path); }

private:
    Kind kind_;
    std::string path_;
};

// A text that should have been a decimal integer ("'%s' is not a valid integer value").
class ConvertError : public VorbixError {
public:
    explicit ConvertError(const std::string& text);
};

} // namespace vorbix
