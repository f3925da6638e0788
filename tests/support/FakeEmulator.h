#pragma once
// The launch tests' outside world: a fake emulator script that records what it was given
// and found, a shell that really starts it (attached, so tests can wait for it), and
// prompts whose "Press OK" waits for the emulator like a user would.

#include "platform/Process.h"
#include "support/FakePrompts.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vorbix::test {

// Writes root + "emu/beebem", an executable script. When run it adds its process id as a
// line to root + "emu/started", records root + "emu/run.log" (its working folder,
// arguments, the VBX_PLAIN/VBX_SS/VBX_DS variables, the files in emu/discs and emu/roms and
// the lines of emu/ROMS.CFG) and then acts on files in root + "control/": "hold" keeps it
// running while that file exists, "sleep" keeps it running for the seconds it holds,
// "remove" deletes the file or folder whose path it
// holds, "save" appends "+saved" to every disk image in emu/discs, "empty" empties them,
// "block" turns each into a folder, "picture" writes its bytes (or "NEWPIC" when it is
// empty) to emu/screen.jpg. Last it adds its process id to root + "emu/ended"; with
// "fail" it then writes that file's bytes to its error output and ends with status 3.
// Returns the script's path.
std::string WriteFakeEmulator(const std::string& root);

// The run log as name -> values (several "arg" lines keep their order).
std::map<std::string, std::vector<std::string>> ReadRunLog(const std::string& root);

class EmulatorShell : public Shell {
public:
    struct Start {
        std::string file;
        std::string workingDir;
        std::vector<std::string> arguments;
    };

    explicit EmulatorShell(StartedPrograms mode = StartedPrograms::Attached) : real_(mode) {}
    ~EmulatorShell() override { WaitForAll(); }
    EmulatorShell(const EmulatorShell&) = delete;
    EmulatorShell& operator=(const EmulatorShell&) = delete;

    StartResult Open(const std::string& target) override { return real_.Open(target); }
    StartResult OpenIn(const std::string& target, const std::string& workingDir) override
    {
        return real_.OpenIn(target, workingDir);
    }
    StartResult StartProgram(const std::string& file, const std::string& workingDir,
        const std::vector<std::string>& arguments) override;
    ProcessEnd WaitForExit(int pid) override;
    std::optional<ProcessEnd> ProcessEnded(int pid) override { return real_.ProcessEnded(pid); }
    void SetEnvironmentVariable(const std::string& name, const std::string& value) override;

    void WaitForAll();

    std::vector<Start> starts; // StartProgram calls
    std::vector<std::pair<std::string, std::string>> variables;
    int waits = 0; // WaitForExit calls

private:
    SystemShell real_;
    std::vector<int> running_;
};

// Pressing OK once the emulator has ended.
class LaunchPrompts : public FakePrompts {
public:
    explicit LaunchPrompts(EmulatorShell& shell) : shell_(shell) {}
    bool PressOkAfterRunningEmulator() override
    {
        FakePrompts::PressOkAfterRunningEmulator();
        shell_.WaitForAll();
        return true;
    }

private:
    EmulatorShell& shell_;
};

} // namespace vorbix::test
