#include "launching/ImageMasks.h"

#include "catalogue/Utilities.h"
#include "platform/Collation.h"

#include <string_view>

namespace vorbix {

namespace {

bool OccursIn(const std::string& upperExt, std::string_view masks)
{
    return !upperExt.empty() && masks.find(upperExt) != std::string_view::npos;
}

// The masks in lower case with every ";" turned into ",".
std::string CaptionList(const char* masks)
{
    return ReplaceChar(';', ',', AsciiLowerText(masks));
}

} // namespace

std::string UpperExtension(const std::string& path)
{
    return AsciiUpperText(FileExtension(path));
}

bool IsRomExtension(const std::string& upperExt)
{
    return OccursIn(upperExt, RomImageMasks);
}

bool IsDiskExtension(const std::string& upperExt)
{
    return OccursIn(upperExt, DiskImageMasks);
}

std::string DiskImagesCaption()
{
    return "Disk images (" + CaptionList(DiskImageMasks) + ")";
}

std::string DiskImageExtensionsText()
{
    return ReplaceChar(',', '/', RemoveChar(' ', RemoveChar('*', CaptionList(DiskImageMasks))));
}

std::string RomImagesCaption()
{
    return "Rom images (" + CaptionList(RomImageMasks) + ")";
}

} // namespace vorbix
