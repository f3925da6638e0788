#pragma once
// What the disc and tape fuzz targets check of every description: at least one line, and
// only printable ASCII in it, whatever bytes the image's names held.

#include "FuzzSupport.h"

#include "discs/DiscContents.h"

namespace vorbix::fuzz {

inline void CheckDescription(const ImageDescription& description)
{
    Check(!description.Lines.empty());
    Check(description.Understood || description.Lines.size() == 1);
    for (const std::string& line : description.Lines)
        for (const char c : line)
            Check(c >= 0x20 && c < 0x7F);
}

inline void CheckShown(const std::string& name, std::size_t most)
{
    Check(name.size() <= most);
    for (const char c : name)
        Check(c >= 0x20 && c < 0x7F);
}

} // namespace vorbix::fuzz
