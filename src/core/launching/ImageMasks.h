#pragma once
// Classifying an image file by its extension, and the captions the emulator editor
// builds from the two mask texts.

#include <string>

namespace vorbix {

inline constexpr const char* RomImageMasks = "*.ROM";
inline constexpr const char* DiskImageMasks = "*.SSD; *.DSD; *.IMG; *.BBC; *.ADF; *.UEF; *.ZIP";

// The extension of the path with its dot, ASCII upper-cased ("" when it has none).
std::string UpperExtension(const std::string& path);

// An extension counts when it occurs anywhere in the mask text; an empty one never does.
bool IsRomExtension(const std::string& upperExt);
bool IsDiskExtension(const std::string& upperExt);

// "Disk images (*.ssd, *.dsd, *.img, *.bbc, *.adf, *.uef, *.zip)"
std::string DiskImagesCaption();
// ".ssd/.dsd/.img/.bbc/.adf/.uef/.zip"
std::string DiskImageExtensionsText();
// "Rom images (*.rom)"
std::string RomImagesCaption();

} // namespace vorbix
