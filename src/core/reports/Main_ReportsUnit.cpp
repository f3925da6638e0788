#include "reports/Main_ReportsUnit.h"

#include "host/Errors.h"
#include "host/Prompts.h"
#include "platform/FileSystem.h"
#include "host/Shell.h"

namespace vorbix {

namespace {

bool WriteAndOffer(const Catalogue& catalogue, const std::string& fileName, const std::string& bytes,
    Prompts& prompts, Shell& shell)
{
    const ReportFileResult result = WriteReportFile(catalogue, fileName, bytes);
    if (!result.Written) {
        prompts.ShowMessageBox({"", result.Error, MessageIcon::Stop, MessageButtons::Ok});
        return false;
    }
    if (prompts.Confirm("View report file " + result.Path + "?"))
        shell.Open(result.Path);
    return true;
}

} // namespace

ReportFileResult WriteReportFile(const Catalogue& catalogue, const std::string& fileName, const std::string& bytes)
{
    ReportFileResult result;
    result.Path = catalogue.AppFile(fileName);
    try {
        WriteFileAtomic(result.Path, bytes);
        result.Written = true;
    } catch (const FileError& e) {
        result.Error = e.what();
    }
    return result;
}

bool GenerateProgramsReport(const Catalogue& catalogue, const ProgramsReportOptions& options,
    Prompts& prompts, Shell& shell)
{
    return WriteAndOffer(catalogue, kProgramsReportFile, ProgramsReportBytes(catalogue, options), prompts, shell);
}

bool GenerateCompatibilityReport(const Catalogue& catalogue, const CompatibilityReportOptions& options,
    Prompts& prompts, Shell& shell)
{
    return WriteAndOffer(catalogue, kCompatibilityReportFile, CompatibilityReportBytes(catalogue, options),
        prompts, shell);
}

bool GenerateLinksReport(const Catalogue& catalogue, const LinksReportOptions& options,
    Prompts& prompts, Shell& shell)
{
    return WriteAndOffer(catalogue, kLinksReportFile, LinksReportBytes(catalogue, options), prompts, shell);
}

} // namespace vorbix
