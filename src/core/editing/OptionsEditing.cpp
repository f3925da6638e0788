#include "editing/OptionsEditing.h"

#include "catalogue/Utilities.h"

namespace vorbix {

namespace {

const char* const kJpegFilter = "JPEG files|*.jpg";

} // namespace

FileOpenRequest PictureFileRequest(const std::string& current, const Catalogue& catalogue)
{
    if (!current.empty())
        return {kJpegFilter, FolderPart(current), FileNamePart(current), false};
    const std::string& start = catalogue.LastProgramDir.empty() ? catalogue.LastEmuDir : catalogue.LastProgramDir;
    return {kJpegFilter, start, "", false};
}

} // namespace vorbix
