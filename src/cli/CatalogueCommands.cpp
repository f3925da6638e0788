// info, programs and resave: the catalogue as loaded, and saving it again.

#include "CliCatalogue.h"
#include "CliOptions.h"

#include <ostream>

namespace vorbix::cli {

namespace {

const char* SourceName(CatalogueSource source)
{
    switch (source) {
    case CatalogueSource::Xml: return "xml";
    case CatalogueSource::Legacy: return "legacy";
    default: return "none";
    }
}

// Loads the catalogue for a command that takes no arguments and hands it on.
template <typename Body>
int WithCatalogueOnly(CliContext& context, const std::vector<std::string>& args, Body body,
    LoadAccess access = LoadAccess::ReadOnly)
{
    if (const std::string problem = ReadOptions(args, {}); !problem.empty()) {
        context.err << problem << "\n";
        return kExitUsage;
    }
    return WithCatalogue(context, body, access);
}

} // namespace

int RunInfo(CliContext& context, const std::vector<std::string>& args)
{
    return WithCatalogueOnly(context, args, [&](const Catalogue& catalogue, CatalogueSource source) {
        context.out << "programs: " << catalogue.ProgramList.size() << "\n"
                    << "emulators: " << catalogue.EmuList.size() << "\n"
                    << "filters: " << catalogue.FilterList.size() << "\n"
                    << "publishers: " << catalogue.Publishers.size() << "\n"
                    << "types: " << catalogue.ProgramTypes.size() << "\n"
                    << "source: " << SourceName(source) << "\n";
        return FlushedOutput(context, kExitOk);
    });
}

int RunPrograms(CliContext& context, const std::vector<std::string>& args)
{
    return WithCatalogueOnly(context, args, [&](const Catalogue& catalogue, CatalogueSource) {
        for (std::size_t i = 0; i < catalogue.ProgramList.size(); ++i) {
            const ProgramRecord& p = catalogue.ProgramList[i];
            context.out << i << '\t' << p.PublisherName << '\t' << p.ProgramName << '\t' << p.ProgramType << '\t'
                        << p.FileUrl << "\n";
        }
        return FlushedOutput(context, kExitOk);
    });
}

// As the window's "&Save": both files are written, the selectors keep what was loaded. As
// in the window, a damaged file is copied aside when it is loaded.
int RunResave(CliContext& context, const std::vector<std::string>& args)
{
    return WithCatalogueOnly(
        context, args, [&](Catalogue& catalogue, CatalogueSource) { return SaveCatalogueForCli(context, catalogue); },
        LoadAccess::KeepCopies);
}

} // namespace vorbix::cli
