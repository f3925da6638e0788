#pragma once
// vorbix-cli: the catalogue driven from a terminal. Commands register themselves in
// the table below, each in its own source file.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace vorbix::cli {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFindings = 1;  // check found problems; a launch stopped with an error
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFileError = 3;

struct CliContext {
    std::string appDir;  // resolved application folder, ending in '/'
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
};

using CommandFunction = std::function<int(CliContext&, const std::vector<std::string>& args)>;

struct CommandInfo {
    std::string name;
    std::string usage;  // the argument synopsis shown by the usage text
    CommandFunction run;
};

// Adds a command; used by the static registrars of the command source files.
bool RegisterCommand(CommandInfo info);

// Runs the tool on the arguments (without the program name); returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::istream& in);

// Writes the usage text.
void PrintUsage(std::ostream& out);

} // namespace vorbix::cli
