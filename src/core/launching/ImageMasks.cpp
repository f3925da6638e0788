#include "launching/ImageMasks.h"

#include "catalogue/Utilities.h"

#include <string_view>

namespace vorbix {

namespace {

std::string AsciiLower(std::string text)
{
    for (char& c : text)
        if (IsUpperAscii(c))
            c = static_cast<char>(c + ('a' - 'A'));
    return text;
}

std::string AsciiUpper(std::string text)
{
    for (char& c : text)
        if (IsLowerAscii(c))
            c = static_cast<char>(c - ('a' - 'A'));
    return text;
}

bool OccursIn(const std::string& upperExt, std::string_view masks)
{
    return !upperExt.empty() && masks.find(upperExt) != std::string_view::npos;
}

// The masks in lower case with every ";" turned into ",".
std::string CaptionList(const char* masks)
{
    return ReplaceChar(';', ',', AsciiLower(masks));
}

} // namespace

std::string UpperExtension(const std::string& path)
{
    return AsciiUpper(FileExtension(path));
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
