#include "CliCatalogue.h"

#include "platform/CatalogueLock.h"

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

int SaveCatalogueForCli(CliContext& context, Catalogue& catalogue)
{
    if (context.lock != nullptr) {
        if (Status held = context.lock->HoldData(); !held) {
            context.err << held.Message() << "\n";
            return kExitFileError;
        }
    }
    TerminalPrompts prompts(context.err, context.in, false, false);
    const Result<SavedFiles> saved = SaveCatalogue(catalogue, false, SystemFileWriter(), &prompts);
    if (!saved) {
        context.err << "Error: " << saved.Message() << "\n";
        return kExitFileError;
    }
    if (saved.Value().Declined) {
        context.err << "Error: nothing was saved\n";
        return kExitFileError;
    }
    for (const std::string& notice : saved.Value().Notices)
        context.err << notice << "\n";
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
