#pragma once
// Loading the catalogue for a command: errors that would end the window's start-up
// are printed ("Error: " + message) and turned into exit status 3.

#include "Cli.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Main_LoadSaveUnit.h"

namespace vorbix::cli {

// Loads the catalogue of context.appDir; returns kExitOk or kExitFileError.
int LoadCatalogueForCli(CliContext& context, Catalogue& catalogue, Prompts& prompts,
    CatalogueSource* source = nullptr);

} // namespace vorbix::cli
