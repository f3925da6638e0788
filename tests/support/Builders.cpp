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

std::string CrLfLines(std::initializer_list<std::string> lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

} // namespace vorbix::test
