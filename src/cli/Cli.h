#pragma once
// vorbix-cli: the catalogue driven from a terminal. The commands are listed in one table
// (Cli.cpp); each is a function in its own source file.

#include <iosfwd>
#include <string>
#include <vector>

namespace vorbix {
class CatalogueLock;
}

namespace vorbix::cli {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFindings = 1; // check found problems; a launch stopped with an error
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFileError = 3;

struct CliContext {
    std::string appDir; // resolved application folder, ending in '/'
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
    // Held by a command that may write the catalogue's folder; none for a read-only one.
    CatalogueLock* lock = nullptr;
};

// The commands; each returns the tool's exit status.
int RunAddFolder(CliContext& context, const std::vector<std::string>& args);
int RunCheck(CliContext& context, const std::vector<std::string>& args);
int RunEmulators(CliContext& context, const std::vector<std::string>& args);
int RunInfo(CliContext& context, const std::vector<std::string>& args);
int RunList(CliContext& context, const std::vector<std::string>& args);
int RunPrograms(CliContext& context, const std::vector<std::string>& args);
int RunRelocate(CliContext& context, const std::vector<std::string>& args);
int RunReport(CliContext& context, const std::vector<std::string>& args);
int RunResave(CliContext& context, const std::vector<std::string>& args);
int RunRun(CliContext& context, const std::vector<std::string>& args);

// Runs the tool on the arguments (without the program name); returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::istream& in);

// Writes the usage text.
void PrintUsage(std::ostream& out);

} // namespace vorbix::cli
