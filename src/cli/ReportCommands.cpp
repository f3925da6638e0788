// report programs|compatibility|links and check: the three reports written into the
// application folder or to standard output, and the links report as a catalogue check.

#include "CliCatalogue.h"
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

bool ParseOrder(const std::string& text, ReportOrder& order)
{
    if (text != "publisher" && text != "program")
        return false;
    order = text == "publisher" ? ReportOrder::Publisher : ReportOrder::Program;
    return true;
}

// The include box that a --no-... option of the programs report clears, or nullptr.
bool* IncludeBox(ProgramsReportOptions& options, const std::string& arg)
{
    if (arg == "--no-type")
        return &options.IncludeType;
    if (arg == "--no-information")
        return &options.IncludeInformation;
    if (arg == "--no-warnings")
        return &options.IncludeWarnings;
    if (arg == "--no-links")
        return &options.IncludeLinks;
    return nullptr;
}

// One option of the report kind at args[i] (advancing i past a value); false when it is
// not an option of that kind.
bool ParseReportOption(const std::vector<std::string>& args, std::size_t& i, ReportArguments& parsed)
{
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    const bool programs = parsed.kind == "programs";
    const bool compatibility = parsed.kind == "compatibility";
    if (arg == "--stdout") {
        parsed.toStdout = true;
        return true;
    }
    if (arg == "--filter" && hasValue) {
        parsed.programs.FilterName = parsed.compatibility.FilterName = parsed.links.FilterName = args[++i];
        return true;
    }
    // An option whose value is not one it takes stops at the option, so that the message
    // names both.
    if (arg == "--order" && hasValue && (programs || compatibility)) {
        ReportOrder& order = programs ? parsed.programs.Order : parsed.compatibility.Order;
        if (!ParseOrder(args[i + 1], order))
            return false;
        ++i;
        return true;
    }
    if (bool* box = programs ? IncludeBox(parsed.programs, arg) : nullptr) {
        *box = false;
        return true;
    }
    if (parsed.kind == "links" && arg == "--skip" && hasValue) {
        const std::optional<LinksTest> test = LinksTestByControlName(args[i + 1]);
        if (!test)
            return false;
        parsed.links.SetChecked(*test, false);
        ++i;
        return true;
    }
    return false;
}

// The rejected argument, with the value that followed an option that takes one.
std::string RejectedArgument(const std::vector<std::string>& args, std::size_t i)
{
    const std::string& arg = args[i];
    const bool takesValue = arg == "--order" || arg == "--skip" || arg == "--filter";
    return takesValue && i + 1 < args.size() ? arg + " " + args[i + 1] : arg;
}

int ParseReportArguments(CliContext& context, const std::vector<std::string>& args, ReportArguments& parsed)
{
    if (args.empty() || (args[0] != "programs" && args[0] != "compatibility" && args[0] != "links")) {
        context.err << "report needs one of programs, compatibility, links\n";
        return kExitUsage;
    }
    parsed.kind = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!ParseReportOption(args, i, parsed)) {
            context.err << "Unexpected argument " << RejectedArgument(args, i) << "\n";
            return kExitUsage;
        }
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
