#pragma once
// Copies of catalogue files kept beside them, and files moved aside, under names that no
// earlier file holds, so that what a file held survives whatever later replaces it.

#include "host/Result.h"
#include "platform/FileSystem.h"

#include <string>

namespace vorbix {

// Copies the file at path beside itself as path + "." + tag + "-" + n, with the lowest n
// from 1 whose name is free. The name is taken by creating that file exclusively, so a kept
// copy never overwrites an earlier one, or anything else; the bytes then go through the
// writer, which replaces only the file just created. Returns the copy's path.
// A file that cannot be read is "Cannot open file " + path; a copy that cannot be written
// (a read-only folder, a full disk) is "Cannot create file " + copy, and leaves nothing.
Result<std::string> KeepCopyBeside(const std::string& path, const std::string& tag, FileWriter& writer);

// The copy kept beside path under the tag (path + "." + tag + "-" + n) that holds exactly
// the bytes path holds now, or an empty text when there is none: a file kept once need
// not be kept again.
std::string KeptCopyHolding(const std::string& path, const std::string& tag);

// The name KeepCopyBeside would give a copy of path now: path + "." + tag + "-" + the lowest
// n from 1 that no file holds.
std::string NextKeptCopyName(const std::string& path, const std::string& tag);

// Moves the file at path aside to path + "." + tag + "-" + n, with the lowest n from 1 whose
// name is free, never over anything already there. Returns the new path; a move that
// fails is "Cannot move file " + path + " to " + the name tried, and leaves the file where
// it was.
Result<std::string> MoveAsideBeside(const std::string& path, const std::string& tag);

} // namespace vorbix
