// list: the rows of the program list as the main window shows them.

#include "CliCatalogue.h"
#include "CliOptions.h"
#include "browsing/ProgramListModel.h"
#include "browsing/SelectorEntries.h"

#include <ostream>

namespace vorbix::cli {

namespace {

struct ListArguments {
    std::string filter = "all";
    ListColumn sortColumn = ListColumn::Publisher;
    bool descending = false;
};

} // namespace

int RunList(CliContext& context, const std::vector<std::string>& args)
{
    ListArguments parsed;
    const std::string problem = ReadOptions(args,
        {TextOption("--filter", parsed.filter),
            OrderOption(parsed.sortColumn, ListColumn::Publisher, ListColumn::Program),
            FlagOption("--descending", parsed.descending)});
    if (!problem.empty()) {
        context.err << problem << "\n";
        return kExitUsage;
    }
    return WithCatalogue(context, [&](const Catalogue& catalogue, CatalogueSource) {
        // As the filter selector: a name that is none of its entries (ignoring case) becomes "all".
        const std::string filter = ValidFilterSelectorText(FilterSelectorEntries(catalogue.FilterList), parsed.filter);
        if (filter != parsed.filter)
            context.err << "No filter named " << parsed.filter << "; showing all\n";
        ProgramListModel model;
        model.SetSort(parsed.sortColumn, parsed.descending ? -1 : 1);
        model.Rebuild(catalogue, filter);
        for (int row = 0; row < model.RowCount(); ++row)
            context.out << model.CellText(row, ListColumn::PIdx) << '\t' << model.CellText(row, ListColumn::Publisher)
                        << '\t' << model.CellText(row, ListColumn::Program) << '\n';
        return FlushedOutput(context, kExitOk);
    });
}

} // namespace vorbix::cli
