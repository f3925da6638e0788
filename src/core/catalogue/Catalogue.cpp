#include "catalogue/Catalogue.h"

namespace vorbix {

void Catalogue::ResetRememberedAndOptions()
{
    LastProgramDir.clear();
    LastEmuDir.clear();
    LastDocDir.clear();
    LastEmu.clear();
    LastFilter = "all";
    Options = OtherOptions{};
}

} // namespace vorbix
