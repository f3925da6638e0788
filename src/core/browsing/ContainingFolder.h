#pragma once
// "Open Containing Folder" in the program list's menu.

#include "catalogue/Records.h"

#include <string>

namespace vorbix {

class Prompts;
class Shell;

// The folder that holds the program's image file: its path up to and including the last
// separator (or the drive designator); empty when the path names no folder.
std::string ContainingFolder(const ProgramRecord& program);

// Hands the folder that holds the program's image to the desktop's opener, as documents
// are opened. A folder that is not there is "Cannot find folder " + the folder (or + the
// path, when it names none); an opener that cannot start is "Cannot open FOLDER: REASON".
void OpenContainingFolder(const ProgramRecord& program, Prompts& prompts, Shell& shell);

} // namespace vorbix
