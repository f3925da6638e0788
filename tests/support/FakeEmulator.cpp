#include "support/FakeEmulator.h"

#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <algorithm>

namespace vorbix::test {

std::string WriteFakeEmulator(const std::string& root)
{
    const std::string script = "#!/bin/sh\n"
                               "root='"
        + root
        + "'\n"
          "root=${root%/}\n"
          "echo $$ >> \"$root/emu/started\"\n"
          "{\n"
          "  printf 'cwd=%s\\n' \"$(pwd)\"\n"
          "  for a in \"$@\"; do printf 'arg=%s\\n' \"$a\"; done\n"
          "  printf 'plain=%s\\n' \"${VBX_PLAIN-unset}\"\n"
          "  printf 'ss=%s\\n' \"${VBX_SS-unset}\"\n"
          "  printf 'ds=%s\\n' \"${VBX_DS-unset}\"\n"
          "  printf 'discs=%s\\n' \"$(ls \"$root/emu/discs\" 2>/dev/null | tr '\\n' ' ')\"\n"
          "  printf 'roms=%s\\n' \"$(ls \"$root/emu/roms\" 2>/dev/null | tr '\\n' ' ')\"\n"
          "  printf 'romscfg=%s\\n' \"$(tr -d '\\r' 2>/dev/null < \"$root/emu/ROMS.CFG\" | tr '\\n' '|')\"\n"
          "} > \"$root/emu/run.log.$$\"\n"
          "while [ -f \"$root/control/hold\" ]; do sleep 0.02; done\n"
          "[ -s \"$root/control/sleep\" ] && sleep \"$(cat \"$root/control/sleep\")\"\n"
          "[ -f \"$root/control/remove\" ] && rm -rf \"$(cat \"$root/control/remove\")\"\n"
          "if [ -f \"$root/control/save\" ]; then\n"
          "  for f in \"$root\"/emu/discs/*; do [ -f \"$f\" ] && printf '+saved' >> \"$f\"; done\n"
          "fi\n"
          "if [ -f \"$root/control/empty\" ]; then\n"
          "  for f in \"$root\"/emu/discs/*; do [ -f \"$f\" ] && : > \"$f\"; done\n"
          "fi\n"
          "if [ -f \"$root/control/block\" ]; then\n"
          "  for f in \"$root\"/emu/discs/*; do rm -f \"$f\"; mkdir \"$f\"; touch \"$f/x\"; done\n"
          "fi\n"
          "if [ -s \"$root/control/picture\" ]; then cp \"$root/control/picture\" \"$root/emu/screen.jpg\"\n"
          "elif [ -f \"$root/control/picture\" ]; then printf 'NEWPIC' > \"$root/emu/screen.jpg\"; fi\n"
          "mv \"$root/emu/run.log.$$\" \"$root/emu/run.log\"\n"
          "echo $$ >> \"$root/emu/ended\"\n"
          "if [ -f \"$root/control/fail\" ]; then cat \"$root/control/fail\" >&2; exit 3; fi\n"
          "exit 0\n";
    const std::string path = root + "emu/beebem";
    WriteAll(path, script);
    SetMode(path, 0755);
    return path;
}

std::map<std::string, std::vector<std::string>> ReadRunLog(const std::string& root)
{
    std::map<std::string, std::vector<std::string>> log;
    if (!FileExists(root + "emu/run.log"))
        return log;
    for (const std::string& line : ReadFileLines(root + "emu/run.log").Value()) {
        auto eq = line.find('=');
        if (eq != std::string::npos)
            log[line.substr(0, eq)].push_back(line.substr(eq + 1));
    }
    return log;
}

StartResult EmulatorShell::StartProgram(const std::string& file, const std::string& workingDir,
    const std::vector<std::string>& arguments)
{
    starts.push_back({file, workingDir, arguments});
    StartResult result = real_.StartProgram(file, workingDir, arguments);
    if (result.Pid > 0)
        running_.push_back(result.Pid);
    return result;
}

ProcessEnd EmulatorShell::WaitForExit(int pid)
{
    ++waits;
    ProcessEnd end = real_.WaitForExit(pid);
    running_.erase(std::remove(running_.begin(), running_.end(), pid), running_.end());
    return end;
}

void EmulatorShell::SetEnvironmentVariable(const std::string& name, const std::string& value)
{
    variables.emplace_back(name, value);
    real_.SetEnvironmentVariable(name, value);
}

void EmulatorShell::WaitForAll()
{
    for (int pid : running_)
        real_.WaitForExit(pid);
    running_.clear();
}

} // namespace vorbix::test
