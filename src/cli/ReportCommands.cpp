// report programs|compatibility|links and check: the three reports written into the
// application folder or to standard output, and the links report as a catalogue check.

#include "CliCatalogue.h"
#include "CliOptions.h"
#include "reports/Main_ReportsUnit.h"

#include <ostream>

namespace vorbix::cli {

namespace {

struct ReportArguments {
    std::string kind;
    bool toStdout = false;
    ProgramsReportOptions programs;
    CompatibilityReportOptions compatibility;
    LinksReportOptions links;
};

// The options of the report kind; every kind knows --order and --skip, so that a value
// given to one it does not take is named with the option.
std::vector<CliOption> ReportOptionsOf(ReportArguments& parsed)
{
    const bool programs = parsed.kind == "programs";
    const bool compatibility = parsed.kind == "compatibility";
    const bool links = parsed.kind == "links";
    std::vector<CliOption> options = {FlagOption("--stdout", parsed.toStdout),
        {"--filter", true, [&parsed](const std::string& value) {
             parsed.programs.FilterName = parsed.compatibility.FilterName = parsed.links.FilterName = value;
             return true;
         }}};
    if (programs || compatibility)
        options.push_back(OrderOption(programs ? parsed.programs.Order : parsed.compatibility.Order,
            ReportOrder::Publisher, ReportOrder::Program));
    else
        options.push_back({"--order", true, [](const std::string&) { return false; }});
    // The include boxes that the --no-... options of the programs report clear.
    for (auto [name, box] : {std::pair{"--no-type", &parsed.programs.IncludeType},
             {"--no-information", &parsed.programs.IncludeInformation},
             {"--no-warnings", &parsed.programs.IncludeWarnings}, {"--no-links", &parsed.programs.IncludeLinks}})
        options.push_back({name, false, [box = box, programs](const std::string&) {
                               if (programs)
                                   *box = false;
                               return programs;
                           }});
    options.push_back({"--skip", true, [&parsed, links](const std::string& value) {
                           const std::optional<LinksTest> test = LinksTestByControlName(value);
                           if (!links || !test)
                               return false;
                           parsed.links.SetChecked(*test, false);
                           return true;
                       }});
    return options;
}

int ParseReportArguments(CliContext& context, const std::vector<std::string>& args, ReportArguments& parsed)
{
    if (args.empty() || (args[0] != "programs" && args[0] != "compatibility" && args[0] != "links")) {
        context.err << "report needs one of programs, compatibility, links\n";
        return kExitUsage;
    }
    parsed.kind = args[0];
    const std::string problem =
        ReadOptions(std::vector<std::string>(args.begin() + 1, args.end()), ReportOptionsOf(parsed));
    if (!problem.empty()) {
        context.err << problem << "\n";
        return kExitUsage;
    }
    return kExitOk;
}

struct ReportOutput {
    std::string fileName;
    std::string bytes;
};

ReportOutput MakeReport(const Catalogue& catalogue, const ReportArguments& parsed)
{
    if (parsed.kind == "programs")
        return {kProgramsReportFile, ProgramsReportBytes(catalogue, parsed.programs)};
    if (parsed.kind == "compatibility")
        return {kCompatibilityReportFile, CompatibilityReportBytes(catalogue, parsed.compatibility)};
    return {kLinksReportFile, LinksReportBytes(catalogue, parsed.links)};
}

} // namespace

// Without --stdout the file is written as the window writes it and its path printed; the
// question whether to view it is not asked on a terminal.
int RunReport(CliContext& context, const std::vector<std::string>& args)
{
    ReportArguments parsed;
    if (int status = ParseReportArguments(context, args, parsed))
        return status;
    return WithCatalogue(context, [&](const Catalogue& catalogue, CatalogueSource) {
        const ReportOutput report = MakeReport(catalogue, parsed);
        if (parsed.toStdout) {
            context.out << report.bytes;
            return FlushedOutput(context, kExitOk);
        }
        const Result<std::string> written = WriteReportFile(catalogue, report.fileName, report.bytes);
        if (!written) {
            context.err << "Error: " << written.Message() << "\n";
            return kExitFileError;
        }
        context.out << written.Value() << "\n";
        return FlushedOutput(context, kExitOk);
    });
}

// The links report with all twelve tests over every program, on standard output.
int RunCheck(CliContext& context, const std::vector<std::string>& args)
{
    if (!args.empty()) {
        context.err << "Unexpected argument " << args.front() << "\n";
        return kExitUsage;
    }
    return WithCatalogue(context, [&](const Catalogue& catalogue, CatalogueSource) {
        const LinksCheckResult checked = CheckLinks(catalogue, LinksReportOptions{});
        context.out << checked.Report;
        // A damaged catalogue file (or a programs file a legacy import would replace) is a
        // finding too; the load has reported it.
        const bool anyFinding = !catalogue.PendingCopies.empty() || checked.AnyFinding;
        return FlushedOutput(context, anyFinding ? kExitFindings : kExitOk);
    });
}

} // namespace vorbix::cli
