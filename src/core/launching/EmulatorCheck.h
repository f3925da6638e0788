#pragma once
// The test of an emulator definition: what would make a launch with it fail, or lose a
// file, found before a launch is tried. Nothing is written.

#include "catalogue/Catalogue.h"
#include "catalogue/Records.h"

#include <string>
#include <vector>

namespace vorbix {

// One line in plain words per problem, in the order of the dialog's fields; none for a
// definition a launch can use. Looked at: the executable (missing, not executable); each
// working folder as the launch uses it (missing, not writable, a folder of the catalogue's
// images); ROMS.CFG while its processing is on; the DFS ROM images while DFS handling is
// on; a command line without %IMAGE% beside an empty working folder; b2 given a bare file.
std::vector<std::string> CheckEmulator(const EmuRecord& emu, const Catalogue& catalogue);

} // namespace vorbix
