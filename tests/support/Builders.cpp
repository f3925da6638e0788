#include "support/Builders.h"

namespace vorbix::test {

ProgramRecord MakeProgram(const std::string& publisher, const std::string& name, const std::string& type,
    const std::string& fileUrl)
{
    ProgramRecord p;
    p.PublisherName = publisher;
    p.ProgramName = name;
    p.ProgramType = type;
    p.FileUrl = fileUrl;
    return p;
}

NameList Names(const std::vector<std::string>& names)
{
    NameList list;
    for (const auto& name : names)
        list.Add(name);
    return list;
}

Catalogue CatalogueIn(const std::string& appDir)
{
    Catalogue catalogue;
    catalogue.AppDir = appDir;
    return catalogue;
}

namespace {

std::string JoinLines(const std::vector<std::string>& lines, const char* end)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + end;
    return bytes;
}

} // namespace

std::string CrLfLines(const std::vector<std::string>& lines)
{
    return JoinLines(lines, "\r\n");
}

std::string LfLines(const std::vector<std::string>& lines)
{
    return JoinLines(lines, "\n");
}

} // namespace vorbix::test
