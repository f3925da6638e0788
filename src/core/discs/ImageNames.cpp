#include "discs/ImageNames.h"

#include <array>
#include <utility>

namespace vorbix {

ImageKind ImageKindByName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return ImageKind::Other;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    static constexpr std::array<std::pair<const char*, ImageKind>, 8> kKinds = {
        {{"ssd", ImageKind::DfsSingle}, {"img", ImageKind::DfsSingle}, {"dsd", ImageKind::DfsDouble},
            {"adf", ImageKind::AdfsLinear}, {"ads", ImageKind::AdfsLinear}, {"adm", ImageKind::AdfsLinear},
            {"adl", ImageKind::AdfsInterleaved}, {"uef", ImageKind::Tape}}};
    for (const auto& [name, kind] : kKinds)
        if (extension == name)
            return kind;
    return ImageKind::Other;
}

} // namespace vorbix
