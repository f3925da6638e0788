#pragma once
// What the commands share: loading the catalogue (errors that would end the window's
// start-up are printed as "Error: " + message and give exit status 3) and the check that
// what a command printed reached its reader.

#include "Cli.h"
#include "TerminalPrompts.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Main_LoadSaveUnit.h"

#include <ostream>

namespace vorbix::cli {

// Loads the catalogue of context.appDir; returns kExitOk or kExitFileError. Only a command
// that saves the catalogue loads with LoadAccess::KeepCopies: every other command writes no
// catalogue file, so it reports a damaged file (or a legacy import over a programs file)
// and leaves the application folder as it is.
int LoadCatalogueForCli(CliContext& context, Catalogue& catalogue, Prompts& prompts, CatalogueSource* source = nullptr,
    LoadAccess access = LoadAccess::ReadOnly);

// Loads the catalogue with prompts that ask nothing and hands it to body(catalogue,
// source), whose exit status is returned; a failed load gives kExitFileError.
template <typename Body>
int WithCatalogue(CliContext& context, Body body, LoadAccess access = LoadAccess::ReadOnly)
{
    TerminalPrompts prompts(context.err, context.in, false, false);
    Catalogue catalogue;
    CatalogueSource source = CatalogueSource::None;
    if (int status = LoadCatalogueForCli(context, catalogue, prompts, &source, access))
        return status;
    return body(catalogue, source);
}

// Saves the catalogue as the window's "&Save" does, holding the catalogue's lock for it. A
// file changed outside since the load is not written over: there is nobody to ask, so the
// answer is No and nothing is saved. Returns kExitOk or kExitFileError (with the message).
int SaveCatalogueForCli(CliContext& context, Catalogue& catalogue);

// Output that never reached the terminal or the pipe is no success: kExitFileError with
// "Error: Cannot write to standard output", else status.
int FlushedOutput(CliContext& context, int status);

} // namespace vorbix::cli
