#pragma once
// File writers for the saves under test: one that fails part-way as a full disk does, one
// that looks on while each file is written.

#include "platform/FileSystem.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace vorbix::test {

// Writes the first limit bytes of every file, then the disk is full.
class FailingWriter : public FileWriter {
public:
    explicit FailingWriter(std::size_t limit) : limit_(limit) {}

protected:
    bool WriteBytes(int fd, const char* data, std::size_t size) override;

private:
    std::size_t limit_;
};

// Records the temporary file of every file written and calls OnWrite (when set) with it
// just before the rename; an exception from OnWrite is a crash at that moment.
class WatchingWriter : public FileWriter {
public:
    std::function<void(const std::string& tempPath)> OnWrite;
    std::vector<std::string> written;

protected:
    void BeforeRename(const std::string& tempPath) override;
};

} // namespace vorbix::test
