#include "reports/Main_ReportsUnit.h"

#include "host/Prompts.h"
#include "host/Shell.h"
#include "platform/FileSystem.h"

namespace vorbix {

namespace {

Status WriteAndOffer(const Catalogue& catalogue, const std::string& fileName, const std::string& bytes,
    Prompts& prompts, Shell& shell)
{
    const Result<std::string> written = WriteReportFile(catalogue, fileName, bytes);
    if (!written)
        return written.Error();
    if (prompts.Confirm("View report file " + written.Value() + "?"))
        shell.Open(written.Value());
    return {};
}

} // namespace

Result<std::string> WriteReportFile(const Catalogue& catalogue, const std::string& fileName, const std::string& bytes,
    FileWriter& writer)
{
    const std::string path = catalogue.AppFile(fileName);
    if (Status written = writer.WriteFile(path, bytes); !written)
        return written.Error();
    return path;
}

Status GenerateProgramsReport(const Catalogue& catalogue, const ProgramsReportOptions& options, Prompts& prompts,
    Shell& shell)
{
    return WriteAndOffer(catalogue, kProgramsReportFile, ProgramsReportBytes(catalogue, options), prompts, shell);
}

Status GenerateCompatibilityReport(const Catalogue& catalogue, const CompatibilityReportOptions& options,
    Prompts& prompts, Shell& shell)
{
    return WriteAndOffer(catalogue, kCompatibilityReportFile, CompatibilityReportBytes(catalogue, options), prompts,
        shell);
}

Status GenerateLinksReport(const Catalogue& catalogue, const LinksReportOptions& options, Prompts& prompts,
    Shell& shell)
{
    return WriteAndOffer(catalogue, kLinksReportFile, LinksReportBytes(catalogue, options), prompts, shell);
}

} // namespace vorbix
