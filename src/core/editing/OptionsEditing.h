#pragma once
// The options dialog's chooser for the source picture file (the file in which an emulator
// saves its screen picture). The dialog's check boxes write their options directly.

#include "catalogue/Catalogue.h"
#include "host/Prompts.h"

#include <string>

namespace vorbix {

// "JPEG files|*.jpg", and any name may be chosen, also one that does not exist yet (the
// emulator writes it later). It starts in the current picture's folder with that file
// preset; with no picture, in LastProgramDir, else in LastEmuDir, with nothing preset.
// Choosing changes neither remembered folder.
FileOpenRequest PictureFileRequest(const std::string& current, const Catalogue& catalogue);

} // namespace vorbix
