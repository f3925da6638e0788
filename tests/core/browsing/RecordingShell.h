#pragma once
// A shell that records what it was asked to open and starts nothing.

#include "host/Shell.h"

#include <string>
#include <vector>

namespace vorbix::test {

class RecordingShell : public Shell {
public:
    StartResult Open(const std::string& target) override
    {
        opened.push_back(target);
        return {42, -1};
    }
    StartResult OpenIn(const std::string& file, const std::string&, const std::vector<std::string>&) override
    {
        opened.push_back(file);
        return {42, -1};
    }
    void SetEnvironmentVariable(const std::string&, const std::string&) override {}

    std::vector<std::string> opened;
};

} // namespace vorbix::test
