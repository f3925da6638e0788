#include "Cli.h"

#include "platform/AppDir.h"

#include <algorithm>
#include <iostream>
#include <map>

namespace vorbix::cli {

namespace {

std::map<std::string, CommandInfo>& Commands()
{
    static std::map<std::string, CommandInfo> commands;
    return commands;
}

} // namespace

bool RegisterCommand(CommandInfo info)
{
    std::string name = info.name;
    Commands()[name] = std::move(info);
    return true;
}

void PrintUsage(std::ostream& out)
{
    out << "usage: vorbix-cli [--appdir DIR] COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& [name, info] : Commands())
        out << "  " << name << (info.usage.empty() ? "" : " ") << info.usage << "\n";
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
    auto it = Commands().find(command);
    if (it == Commands().end()) {
        err << "Unknown command " << command << "\n";
        PrintUsage(err);
        return kExitUsage;
    }
    CliContext context{ResolveAppDir(appDirArg, ExecutablePath()), out, err, in};
    std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    return it->second.run(context, rest);
}

} // namespace vorbix::cli
