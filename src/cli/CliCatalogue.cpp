#include "CliCatalogue.h"

namespace vorbix::cli {

int LoadCatalogueForCli(CliContext& context, Catalogue& catalogue, Prompts& prompts, CatalogueSource* source,
    LoadAccess access)
{
    catalogue.AppDir = context.appDir;
    Result<CatalogueSource> loaded = LoadCatalogue(catalogue, prompts, {}, access);
    if (!loaded) {
        context.err << "Error: " << loaded.Message() << "\n";
        return kExitFileError;
    }
    if (source != nullptr)
        *source = loaded.Value();
    return kExitOk;
}

int FlushedOutput(CliContext& context, int status)
{
    if (!context.out.flush()) {
        context.err << "Error: Cannot write to standard output\n";
        return kExitFileError;
    }
    return status;
}

} // namespace vorbix::cli
