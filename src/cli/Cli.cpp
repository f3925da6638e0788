#include "Cli.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "platform/AppDir.h"
#include "platform/CatalogueLock.h"

#include <algorithm>
#include <iostream>

namespace vorbix::cli {

namespace {

bool Always(const std::vector<std::string>&)
{
    return true;
}

// A report goes into the application folder unless it goes to standard output.
bool UnlessToStandardOutput(const std::vector<std::string>& args)
{
    return std::find(args.begin(), args.end(), "--stdout") == args.end();
}

// A command that changes the catalogue writes nothing when only asked what it would do.
bool WithoutDryRun(const std::vector<std::string>& args)
{
    return std::find(args.begin(), args.end(), "--dry-run") == args.end();
}

struct CommandInfo {
    const char* name;
    const char* usage; // the argument synopsis shown by the usage text
    int (*run)(CliContext&, const std::vector<std::string>&);
    // Whether the command, with these arguments, may write into the application folder or
    // the catalogue's files; such a command holds the catalogue's lock. None: never.
    bool (*writes)(const std::vector<std::string>&) = nullptr;
};

// In the order the usage text lists them.
constexpr CommandInfo kCommands[] = {
    {"add-folder", "DIR [--dat FILE]... [--dry-run]", RunAddFolder, WithoutDryRun},
    {"check", "", RunCheck},
    {"emulators", "--presets | --preset NAME | --check [NAME]", RunEmulators},
    {"info", "", RunInfo},
    {"list", "[--filter NAME] [--order publisher|program] [--descending]", RunList},
    {"programs", "", RunPrograms},
    {"relocate", "FROM TO [--dry-run]", RunRelocate, WithoutDryRun},
    {"report",
        "programs|compatibility|links [--filter NAME] [--order publisher|program] [--no-type] [--no-information] "
        "[--no-warnings] [--no-links] [--skip CONTROL]... [--stdout]",
        RunReport, UnlessToStandardOutput},
    {"resave", "", RunResave, Always},
    {"run", "--emulator NAME (--program PIDX | --file PATH | --no-program) [--yes] [--wait]", RunRun, Always},
};

const CommandInfo* FindCommand(const std::string& name)
{
    for (const CommandInfo& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

} // namespace

void PrintUsage(std::ostream& out)
{
    out << "usage: vorbix-cli [--appdir DIR] COMMAND [ARGS]\n       vorbix-cli --help | --version\n\ncommands:\n";
    for (const CommandInfo& command : kCommands)
        out << "  " << command.name << (*command.usage == '\0' ? "" : " ") << command.usage << "\n";
    out << "  help\n\nThe application folder is DIR, else $VORBIX_APPDIR, else the folder of the\n"
           "executable when it holds Data/, else ~/.local/share/vorbix/.\n";
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::istream& in)
{
    std::string appDirArg;
    std::size_t i = 0;
    while (i < args.size() && args[i].rfind("--", 0) == 0) {
        if (args[i] == "--appdir" && i + 1 < args.size()) {
            appDirArg = args[i + 1];
            i += 2;
        } else if (args[i].rfind("--appdir=", 0) == 0) {
            appDirArg = args[i].substr(9);
            ++i;
        } else if (args[i] == "--help") {
            PrintUsage(out);
            return kExitOk;
        } else if (args[i] == "--version") {
            out << "vorbix-cli " << kVorbixVersion << "\n";
            return kExitOk;
        } else {
            err << "Unknown option " << args[i] << "\n";
            PrintUsage(err);
            return kExitUsage;
        }
    }
    if (i >= args.size()) {
        PrintUsage(err);
        return kExitUsage;
    }
    const std::string& command = args[i];
    if (command == "help") {
        PrintUsage(out);
        return kExitOk;
    }
    const CommandInfo* found = FindCommand(command);
    if (found == nullptr) {
        err << "Unknown command " << command << "\n";
        PrintUsage(err);
        return kExitUsage;
    }
    CliContext context{ResolveAppDir(appDirArg, ExecutablePath()), out, err, in};
    if (const std::string problem = NamedAppDirProblem(appDirArg, context.appDir); !problem.empty()) {
        err << problem << "\n";
        return kExitUsage;
    }
    std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    // A writing command beside another process that writes the same catalogue (a window,
    // another resave or run) stops before it has done anything.
    CatalogueLock lock;
    if (found->writes != nullptr && found->writes(rest)) {
        Result<CatalogueLock> taken = CatalogueLock::Acquire(context.appDir);
        if (!taken) {
            err << taken.Message() << "\n";
            return kExitFileError;
        }
        lock = std::move(taken).Value();
        context.lock = &lock;
    }
    return found->run(context, rest);
}

} // namespace vorbix::cli
