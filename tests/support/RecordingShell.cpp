#include "support/RecordingShell.h"

namespace vorbix::test {

// A code above 32 is a successful start.
StartResult RecordingShell::Open(const std::string& target)
{
    opened.push_back(target);
    return {42, -1};
}

StartResult RecordingShell::OpenIn(const std::string& target, const std::string& workingDir)
{
    opened.push_back(target);
    workingDirs.push_back(workingDir);
    return {42, -1};
}

StartResult RecordingShell::StartProgram(const std::string& file, const std::string& workingDir,
    const std::vector<std::string>& arguments)
{
    started.push_back({file, workingDir, arguments});
    return {42, -1};
}

void RecordingShell::SetEnvironmentVariable(const std::string& name, const std::string& value)
{
    variables.emplace_back(name, value);
}

std::chrono::system_clock::time_point RecordingShell::Now()
{
    return FixedNow ? *FixedNow : std::chrono::system_clock::now();
}

} // namespace vorbix::test
