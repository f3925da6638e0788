#pragma once
// The one-time import of the legacy INI files, read once when there is an Options.ini but
// no options file.

#include "catalogue/Catalogue.h"
#include "host/Result.h"

namespace vorbix {

// The legacy files (Programs.ini, Options.ini, Emus.ini, Filters.ini in AppDir).
// A count that is not a decimal integer is "'" + text + "' is not a valid integer value".
Status ImportLegacyPrograms(Catalogue& catalogue);
Status ImportLegacyOptions(Catalogue& catalogue);
Status ImportLegacyEmus(Catalogue& catalogue);
Status ImportLegacyFilters(Catalogue& catalogue);

} // namespace vorbix
