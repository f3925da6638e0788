#include "support/Writers.h"

#include <algorithm>

namespace vorbix::test {

bool FailingWriter::WriteBytes(int fd, const char* data, std::size_t size)
{
    const std::size_t fits = std::min(size, limit_);
    return FileWriter::WriteBytes(fd, data, fits) && fits == size;
}

void WatchingWriter::BeforeRename(const std::string& tempPath)
{
    written.push_back(tempPath);
    if (OnWrite)
        OnWrite(tempPath);
}

} // namespace vorbix::test
