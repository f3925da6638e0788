#include "Cli.h"

#include "platform/AppDir.h"

#include <algorithm>
#include <iostream>

namespace vorbix::cli {

namespace {

struct CommandInfo {
    const char* name;
    const char* usage; // the argument synopsis shown by the usage text
    int (*run)(CliContext&, const std::vector<std::string>&);
};

// In the order the usage text lists them.
constexpr CommandInfo kCommands[] = {
    {"check", "", RunCheck},
    {"info", "", RunInfo},
    {"list", "[--filter NAME] [--order publisher|program] [--descending]", RunList},
    {"programs", "", RunPrograms},
    {"report",
        "programs|compatibility|links [--filter NAME] [--order publisher|program] [--no-type] [--no-information] "
        "[--no-warnings] [--no-links] [--skip CONTROL]... [--stdout]",
        RunReport},
    {"resave", "", RunResave},
    {"run", "--emulator NAME (--program PIDX | --file PATH | --no-program) [--yes] [--wait]", RunRun},
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
    out << "usage: vorbix-cli [--appdir DIR] COMMAND [ARGS]\n\ncommands:\n";
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
    std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    return found->run(context, rest);
}

} // namespace vorbix::cli
