#include "host/Errors.h"

namespace vorbix {

namespace {
std::string FileErrorText(FileError::Kind kind, const std::string& path)
{
    return (kind == FileError::Kind::Open ? "Cannot open file " : "Cannot create file ") + path;
}
} // namespace

FileError::FileError(Kind kind, std::string path)
    : VorbixError(FileErrorText(kind, path)), kind_(kind), path_(std::move(path))
{
}

ConvertError::ConvertError(const std::string& text)
    : VorbixError("'" + text + "' is not a valid integer value")
{
}

} // namespace vorbix
