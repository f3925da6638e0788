#include "collection/Relocate.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Utilities.h"
#include "platform/FileSystem.h"

#include <string_view>

namespace vorbix {

namespace {

bool IsWindowsStyle(std::string_view path)
{
    return path.find('\\') != std::string_view::npos || HasDriveDesignator(path);
}

char Folded(char c, bool windows)
{
    if (!windows)
        return c;
    if (c == '\\')
        return '/';
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view WithoutTrailingSeparators(std::string_view folder)
{
    while (folder.size() > 1 && IsPathSeparator(folder.back()))
        folder.remove_suffix(1);
    return folder;
}

} // namespace

std::string RelocatedPath(const std::string& path, const std::string& from, const std::string& to)
{
    const std::string_view source = WithoutTrailingSeparators(from);
    if (source.empty() || path.size() < source.size())
        return {};
    const bool windows = IsWindowsStyle(source);
    for (std::size_t i = 0; i < source.size(); ++i)
        if (Folded(path[i], windows) != Folded(source[i], windows))
            return {};
    std::string rest = path.substr(source.size());
    // The folder must end where from ends: at the end of the path or at a separator
    // (or from is a root such as "/" or "C:\", which ends in one).
    if (!rest.empty() && !IsPathSeparator(rest.front()) && !IsPathSeparator(source.back()))
        return {};
    const std::string_view target = WithoutTrailingSeparators(to);
    const bool toThisSystem = !IsWindowsStyle(target);
    if (toThisSystem && windows)
        rest = ReplaceChar('\\', '/', rest);
    if (IsPathSeparator(source.back()) && !rest.empty())
        rest.insert(rest.begin(), toThisSystem ? '/' : '\\');
    std::string result(target);
    if (!result.empty() && IsPathSeparator(result.back()) && !rest.empty() && IsPathSeparator(rest.front()))
        rest.erase(0, 1);
    return result + rest;
}

std::vector<Relocation> PlanRelocation(const Catalogue& catalogue, const std::string& from, const std::string& to)
{
    std::vector<Relocation> plan;
    auto consider = [&](RelocatedField field, int pidx, int link, const std::string& path) {
        std::string moved = RelocatedPath(path, from, to);
        if (moved.empty() || moved == path)
            return;
        const bool folder = field == RelocatedField::ProgramFolder || field == RelocatedField::EmulatorFolder
            || field == RelocatedField::DocumentFolder;
        const bool exists = folder ? DirectoryExists(moved) : PathExists(moved);
        plan.push_back({field, pidx, link, path, std::move(moved), exists});
    };
    for (std::size_t pidx = 0; pidx < catalogue.ProgramList.size(); ++pidx) {
        const ProgramRecord& program = catalogue.ProgramList[pidx];
        consider(RelocatedField::ProgramFile, static_cast<int>(pidx), -1, program.FileUrl);
        for (std::size_t link = 0; link < program.DocLinkUrls.size(); ++link)
            consider(RelocatedField::DocumentLink, static_cast<int>(pidx), static_cast<int>(link),
                program.DocLinkUrls[link]);
    }
    consider(RelocatedField::ProgramFolder, -1, -1, catalogue.LastProgramDir);
    consider(RelocatedField::EmulatorFolder, -1, -1, catalogue.LastEmuDir);
    consider(RelocatedField::DocumentFolder, -1, -1, catalogue.LastDocDir);
    consider(RelocatedField::PictureFile, -1, -1, catalogue.Options.PictureUrl);
    return plan;
}

CatalogueChange ApplyRelocation(Catalogue& catalogue, const std::vector<Relocation>& plan)
{
    CatalogueChange change;
    for (const Relocation& relocation : plan) {
        switch (relocation.Field) {
        case RelocatedField::ProgramFile:
            catalogue.ProgramList[static_cast<std::size_t>(relocation.PIdx)].FileUrl = relocation.NewPath;
            change.Programs = true;
            break;
        case RelocatedField::DocumentLink:
            catalogue.ProgramList[static_cast<std::size_t>(relocation.PIdx)]
                .DocLinkUrls[static_cast<std::size_t>(relocation.LinkIndex)] = relocation.NewPath;
            change.Programs = true;
            break;
        case RelocatedField::ProgramFolder: catalogue.LastProgramDir = relocation.NewPath; break;
        case RelocatedField::EmulatorFolder: catalogue.LastEmuDir = relocation.NewPath; break;
        case RelocatedField::DocumentFolder: catalogue.LastDocDir = relocation.NewPath; break;
        case RelocatedField::PictureFile:
            catalogue.Options.PictureUrl = relocation.NewPath;
            change.Options = true;
            break;
        }
    }
    if (change.Programs)
        catalogue.ProgramsChanged = true;
    return change;
}

std::string CommonFolder(const Catalogue& catalogue)
{
    std::string common;
    bool first = true;
    for (const ProgramRecord& program : catalogue.ProgramList) {
        const std::string folder = FolderPart(program.FileUrl);
        if (first) {
            common = folder;
            first = false;
            continue;
        }
        std::size_t same = 0;
        while (same < common.size() && same < folder.size() && common[same] == folder[same])
            ++same;
        common.resize(same);
    }
    // Cut back to the last separator, so that "C:\Games\Ab" and "C:\Games\Ac" give "C:\Games\".
    while (!common.empty() && !IsPathSeparator(common.back()))
        common.pop_back();
    return common;
}

std::string RelocationPlace(const Catalogue& catalogue, const Relocation& relocation)
{
    auto programName = [&] { return catalogue.ProgramList[static_cast<std::size_t>(relocation.PIdx)].ProgramName; };
    switch (relocation.Field) {
    case RelocatedField::ProgramFile: return "program " + programName();
    case RelocatedField::DocumentLink:
        return "link "
            + catalogue.ProgramList[static_cast<std::size_t>(relocation.PIdx)].DocLinkNames.at(
                static_cast<std::size_t>(relocation.LinkIndex))
            + " of " + programName();
    case RelocatedField::ProgramFolder: return "remembered folder of programs";
    case RelocatedField::EmulatorFolder: return "remembered folder of emulators";
    case RelocatedField::DocumentFolder: return "remembered folder of documents";
    case RelocatedField::PictureFile: return "source picture file";
    }
    return {};
}

} // namespace vorbix
