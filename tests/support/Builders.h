#pragma once
// Small builders the test suites share.

#include "catalogue/Records.h"

#include <initializer_list>
#include <string>

namespace vorbix::test {

ProgramRecord MakeProgram(const std::string& publisher, const std::string& name, const std::string& type = "",
    const std::string& fileUrl = "");

// The lines, each followed by CR LF: the bytes of a file the system writes.
std::string CrLfLines(std::initializer_list<std::string> lines);

} // namespace vorbix::test
