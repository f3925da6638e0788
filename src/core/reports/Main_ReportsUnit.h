#pragma once
// The three text reports: programs, compatibility and links. Each can be produced as
// bytes (CR LF after every line) or generated into its file in the application folder,
// after which the user is asked whether to view it.

#include "catalogue/Catalogue.h"
#include "host/Result.h"
#include "platform/FileSystem.h"
#include "reports/ReportOptions.h"

#include <array>
#include <string>

namespace vorbix {

class Prompts;
class Shell;

inline constexpr const char* kProgramsReportFile = "ProgramsReport.txt";
inline constexpr const char* kCompatibilityReportFile = "CompatibilityReport.txt";
inline constexpr const char* kLinksReportFile = "LinksReport.txt";

std::string ProgramsReportBytes(const Catalogue& catalogue, const ProgramsReportOptions& options);
std::string CompatibilityReportBytes(const Catalogue& catalogue, const CompatibilityReportOptions& options);

// The findings of the twelve links tests, each list sorted, in LinksTest order. The
// category and filter tests are collected over the whole catalogue, the others over the
// programs the filter selects.
using LinksFindings = std::array<StringList, kLinksTestCount>;
LinksFindings CollectLinksFindings(const Catalogue& catalogue, const std::string& filterName);
std::string LinksReportBytes(const LinksFindings& findings, const LinksReportOptions& options);
std::string LinksReportBytes(const Catalogue& catalogue, const LinksReportOptions& options);

// Writes a report file beside the application, through a temporary file; gives its path.
Result<std::string> WriteReportFile(const Catalogue& catalogue, const std::string& fileName, const std::string& bytes,
    FileWriter& writer = SystemFileWriter());

// The window commands: write the report file, then ask "View report file " + path + "?"
// and open the file on Yes. A file that cannot be written is not offered: the failure
// ("Cannot create file " + path) is returned for the window to show.
Status GenerateProgramsReport(const Catalogue& catalogue, const ProgramsReportOptions& options, Prompts& prompts,
    Shell& shell);
Status GenerateCompatibilityReport(const Catalogue& catalogue, const CompatibilityReportOptions& options,
    Prompts& prompts, Shell& shell);
Status GenerateLinksReport(const Catalogue& catalogue, const LinksReportOptions& options, Prompts& prompts,
    Shell& shell);

} // namespace vorbix
