#include "CliCatalogue.h"

#include "host/Errors.h"

#include <ostream>

namespace vorbix::cli {

int LoadCatalogueForCli(CliContext& context, Catalogue& catalogue, Prompts& prompts, CatalogueSource* source)
{
    catalogue.AppDir = context.appDir;
    try {
        CatalogueSource loaded = LoadCatalogue(catalogue, prompts);
        if (source != nullptr)
            *source = loaded;
        return kExitOk;
    } catch (const VorbixError& e) {
        context.err << "Error: " << e.what() << "\n";
        return kExitFileError;
    }
}

} // namespace vorbix::cli
