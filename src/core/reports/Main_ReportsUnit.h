#pragma once
// The three text reports: programs, compatibility and links. Each can be produced as
// bytes (CR LF after every line) or generated into its file in the application folder,
// after which the user is asked whether to view it.

#include "catalogue/Catalogue.h"
#include "fastpath/IndexIterator.h"
#include "fastpath/LargeBuffer.h"
#include "host/Result.h"
#include "platform/FileSystem.h"
#include "reports/ReportOptions.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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
// One test's findings: their texts one after another in one buffer, so that a catalogue
// with millions of findings makes no allocation for each.
class FindingList {
public:
    using const_iterator = IndexIterator<FindingList, std::string_view>;

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t i) const
    {
        const std::size_t from = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(from, ends_[i] - from);
    }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    std::size_t TextBytes() const { return text_.size(); }

    // Room for this many more findings and bytes of their texts.
    void Reserve(std::size_t findings, std::size_t bytes);
    // A finding made of the two parts one after the other.
    void Add(std::string_view text, std::string_view more = {});

private:
    LargeText text_;
    std::vector<std::size_t, LargeBufferAllocator<std::size_t>> ends_;
};
using LinksFindings = std::array<FindingList, kLinksTestCount>;
LinksFindings CollectLinksFindings(const Catalogue& catalogue, const std::string& filterName);
std::string LinksReportBytes(const LinksFindings& findings, const LinksReportOptions& options);
std::string LinksReportBytes(const Catalogue& catalogue, const LinksReportOptions& options);

// What `vorbix-cli check` prints: the report, written straight from the sorted findings
// without a list of them, and whether any of the twelve tests found anything.
struct LinksCheckResult {
    std::string Report;
    bool AnyFinding = false;
};
LinksCheckResult CheckLinks(const Catalogue& catalogue, const LinksReportOptions& options);

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
