// run: starts an emulator through the launch sequence, as the window's Run Program, Run
// Emulator and a dropped image do.

#include "CliCatalogue.h"
#include "CliOptions.h"
#include "catalogue/Utilities.h"
#include "launching/LaunchProgram.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

#include <charconv>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>

namespace vorbix::cli {

namespace {

struct RunOptions {
    std::string emulator;
    std::optional<int> program;
    std::optional<std::string> file;
    bool noProgram = false;
    bool yes = false;
    bool wait = false;
};

// The real shell, which keeps every emulator it starts attached, so that the launch can
// wait for it, and remembers whether it started one it can wait for. An emulator the
// launch does not wait for runs on when the tool ends: it is in a session of its own.
// When the launch always waits (--wait, --yes), the emulator's error output passes through
// this tool, which keeps its last lines for the report of a failed run.
class RunShell : public SystemShell {
public:
    explicit RunShell(bool alwaysWaits)
        : SystemShell(alwaysWaits ? StartedPrograms::AttachedKeepingErrors : StartedPrograms::Attached)
    {}

    StartResult StartProgram(const std::string& file, const std::string& workingDir,
        const std::vector<std::string>& arguments) override
    {
        StartResult result = SystemShell::StartProgram(file, workingDir, arguments);
        canWait_ = result.Pid > 0;
        return result;
    }
    bool CanWait() const { return canWait_; }

private:
    bool canWait_ = false;
};

// Terminal prompts whose "Press OK after running emulator" waits for Enter. Nobody
// presses it with --yes (the launch waits for the emulator instead, and the box is only
// printed), nor once standard input has ended (a job run from cron, `< /dev/null`).
class RunPrompts : public TerminalPrompts {
public:
    RunPrompts(CliContext& context, const RunShell& shell, bool answerYes)
        : TerminalPrompts(context.err, context.in, !answerYes, answerYes), context_(context), shell_(shell),
          answerYes_(answerYes)
    {}

    bool PressOkAfterRunningEmulator() override
    {
        context_.err << "Press OK after running emulator";
        if (answerYes_) {
            context_.err << "\n";
            return false;
        }
        context_.err << " [Enter] ";
        context_.err.flush();
        std::string line;
        if (std::getline(context_.in, line))
            return true;
        context_.err << (shell_.CanWait() ? "\nStandard input is at its end: waiting for the emulator to end.\n"
                                          : "\nStandard input is at its end.\n");
        context_.err.flush();
        return false;
    }

private:
    CliContext& context_;
    const RunShell& shell_;
    bool answerYes_;
};

std::optional<int> ParseIndex(const std::string& text)
{
    int value = -1;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0)
        return std::nullopt;
    return value;
}

// Reads the options; returns an error text, empty when they are usable.
std::string ParseRunOptions(const std::vector<std::string>& args, RunOptions& options)
{
    std::string problem = ReadOptions(args,
        {TextOption("--emulator", options.emulator),
            {"--program", true,
                [&options](const std::string& value) {
                    options.program = ParseIndex(value);
                    return options.program.has_value();
                },
                "Not a program index: "},
            {"--file", true,
                [&options](const std::string& value) {
                    options.file = value;
                    return true;
                }},
            FlagOption("--no-program", options.noProgram), FlagOption("--yes", options.yes),
            FlagOption("--wait", options.wait)});
    if (!problem.empty())
        return problem;
    if (options.emulator.empty())
        return "Missing --emulator NAME";
    if (int(options.program.has_value()) + int(options.file.has_value()) + int(options.noProgram) != 1)
        return "Give exactly one of --program PIDX, --file PATH and --no-program";
    return {};
}

LaunchInput MakeLaunchInput(const RunOptions& options, const Catalogue& catalogue)
{
    LaunchInput input;
    input.SelectorText = options.emulator;
    input.SelectorEntries = SortedEmulatorNames(catalogue.EmuList);
    // With nobody at the terminal to press Enter (--yes), the after-run steps wait for the
    // emulator to end: copying back while it still runs would copy a disk it has not written.
    input.WaitForEmulatorExit = options.wait || options.yes;
    if (options.noProgram) {
        input.Mode = LaunchMode::NoProgram;
    } else if (options.file) {
        // A dropped file arrives with its full path.
        std::error_code ec;
        const auto absolute = std::filesystem::absolute(*options.file, ec);
        input.Mode = LaunchMode::DroppedFile;
        input.DroppedFile = ec ? *options.file : absolute.string();
    } else {
        input.Mode = LaunchMode::ListItem;
        input.SelectedPIdx = *options.program;
    }
    return input;
}

} // namespace

int RunRun(CliContext& context, const std::vector<std::string>& args)
{
    RunOptions options;
    if (std::string problem = ParseRunOptions(args, options); !problem.empty()) {
        context.err << problem << "\n";
        return kExitUsage;
    }
    RunShell shell(options.wait || options.yes);
    RunPrompts prompts(context, shell, options.yes);
    Catalogue catalogue;
    if (int status = LoadCatalogueForCli(context, catalogue, prompts))
        return status;
    // As the window's start-up does.
    catalogue.DfsRomsPresent = DfsRomsPresentIn(catalogue);
    const LaunchResult result = LaunchProgram(MakeLaunchInput(options, catalogue), catalogue, prompts, shell);
    // A step that failed while the launch went on counts, also one after the emulator ran (a
    // failed copy back).
    return result.Outcome == LaunchOutcome::Stopped || result.StepFailed ? kExitFindings : kExitOk;
}

} // namespace vorbix::cli
