#pragma once
// Small builders the test suites share.

#include "catalogue/Catalogue.h"
#include "catalogue/Records.h"

#include <string>
#include <vector>

namespace vorbix::test {

ProgramRecord MakeProgram(const std::string& publisher, const std::string& name, const std::string& type = "",
    const std::string& fileUrl = "");

// A category list holding the names (sorted as NameList sorts them).
NameList Names(const std::vector<std::string>& names);

// An empty catalogue whose application folder is appDir.
Catalogue CatalogueIn(const std::string& appDir);

// The lines, each followed by CR LF: the bytes of a file the system writes.
std::string CrLfLines(const std::vector<std::string>& lines);
// The lines, each followed by LF alone: a file written elsewhere.
std::string LfLines(const std::vector<std::string>& lines);

} // namespace vorbix::test
