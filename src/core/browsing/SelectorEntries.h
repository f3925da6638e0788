#pragma once
// The entries of the main window's two selectors and the rule by which a selector
// accepts a typed text.

#include "catalogue/Records.h"

#include <string>
#include <vector>

namespace vorbix {

// "all", then every FilterName sorted ignoring case (a name two filters share is listed twice).
StringList FilterSelectorEntries(const std::vector<FilterRecord>& filterList);

// The filter selector's text after validation: the text when accepted, else "all".
std::string ValidFilterSelectorText(const StringList& entries, const std::string& text);
// The emulator selector's text after validation: the text when accepted, else empty.
std::string ValidEmulatorSelectorText(const StringList& entries, const std::string& text);

} // namespace vorbix
