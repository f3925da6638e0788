// list: the rows of the program list as the main window shows them.

#include "CliCatalogue.h"
#include "browsing/ProgramListModel.h"
#include "browsing/SelectorEntries.h"

#include <ostream>

namespace vorbix::cli {

namespace {

struct ListArguments {
    std::string filter = "all";
    int sortColumn = 0;
    int sortDirection = 1;
};

// Parses the options; returns kExitOk or kExitUsage (with the reason on standard error).
int ParseListArguments(CliContext& context, const std::vector<std::string>& args, ListArguments& parsed)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--filter" && hasValue) {
            parsed.filter = args[++i];
        } else if (arg == "--order" && hasValue && (args[i + 1] == "publisher" || args[i + 1] == "program")) {
            parsed.sortColumn = args[++i] == "publisher" ? 0 : 1;
        } else if (arg == "--descending") {
            parsed.sortDirection = -1;
        } else {
            // An option with a value it does not take is named with that value.
            context.err << "Unexpected argument " << arg << (arg == "--order" && hasValue ? " " + args[i + 1] : "")
                        << "\n";
            return kExitUsage;
        }
    }
    return kExitOk;
}

} // namespace

int RunList(CliContext& context, const std::vector<std::string>& args)
{
    ListArguments parsed;
    if (int status = ParseListArguments(context, args, parsed))
        return status;
    return WithCatalogue(context, [&](const Catalogue& catalogue, CatalogueSource) {
        // As the filter selector: a name that is none of its entries (ignoring case) becomes "all".
        const std::string filter = ValidFilterSelectorText(FilterSelectorEntries(catalogue.FilterList), parsed.filter);
        if (filter != parsed.filter)
            context.err << "No filter named " << parsed.filter << "; showing all\n";
        ProgramListModel model;
        model.SetSort(parsed.sortColumn, parsed.sortDirection);
        model.Rebuild(catalogue, filter);
        for (int row = 0; row < model.RowCount(); ++row)
            context.out << model.CellText(row, ListColumn::PIdx) << '\t' << model.CellText(row, ListColumn::Publisher)
                        << '\t' << model.CellText(row, ListColumn::Program) << '\n';
        return FlushedOutput(context, kExitOk);
    });
}

} // namespace vorbix::cli
