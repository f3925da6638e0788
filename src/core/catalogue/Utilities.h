#pragma once
// Shared path, file, text and shell helpers. Paths may be Windows-style
// (C:\Games\Elite.ssd) or native (/home/me/Elite.ssd): '\' and '/' both separate
// folders, and a colon counts only as a drive designator ("C:" at the start).

#include "catalogue/NameList.h"
#include "catalogue/Records.h"
#include "host/Result.h"
#include "platform/FileExistence.h"
#include "platform/FileSystem.h"

#include <string>

namespace vorbix {

class Shell;

bool IsPathSeparator(char c);

// Everything up to and including the last separator or the drive designator.
std::string FolderPart(const std::string& path);
// The length of that part, for passes over many paths that need not copy it.
std::size_t FolderPartLength(const std::string& path);
// What follows the folder part.
std::string FileNamePart(const std::string& path);
// The extension of the file-name part with its dot ("" when it has none).
std::string FileExtension(const std::string& path);

std::string IncludeBackslash(const std::string& folder);
std::string TrimTrailingSpaces(const std::string& text);
std::string FileNameNoExt(const std::string& path);
std::string FolderName(const std::string& path);

// The picture and box-cover files that belong to an image: X.jpg and X-box.jpg beside X.ext.
std::string PictureFileFor(const std::string& imagePath);
// What the two names above share: the image's folder and its name without the extension.
std::string ImageFileStem(const std::string& imagePath);
std::string BoxCoverFileFor(const std::string& imagePath);
// Whether the picture and the box-cover file of an image exist; a program without an
// image file has neither. With a cache, the folders are read once for many questions.
bool PictureFileExists(const std::string& imagePath, FileExistenceCache* files = nullptr);
bool BoxCoverFileExists(const std::string& imagePath, FileExistenceCache* files = nullptr);
// Whether a file exists at a link's target; a web or mail address never does.
bool LinkTargetExists(const std::string& target, FileExistenceCache* files = nullptr);

// Hands a document, help page, folder, web or mail address to the desktop's opener
// through the given shell (ShellOpenIn with a working folder); a file is never executed,
// whatever its mode. Does not wait. Returns the shell result (greater than 32 on success).
int ShellOpen(Shell& shell, const std::string& target);
int ShellOpenIn(Shell& shell, const std::string& target, const std::string& workingDir);

void ClearFileAttributes(const std::string& path);
// Copies a file over any file at the destination, clearing its read-only mark first; the
// bytes go through the writer.
Status CopyFileOverwrite(const std::string& source, const std::string& destination,
    FileWriter& writer = SystemFileWriter());

// Copies a picture to a program's picture or box-cover file (a JPEG): a PNG (by its content)
// is converted to JPEG on the way, anything else is copied as it is. A failure is the
// message to show: "Cannot copy file SOURCE to DESTINATION", or the conversion's.
Status CopyPictureFile(const std::string& source, const std::string& destination,
    FileWriter& writer = SystemFileWriter());

// Every EmuName sorted ignoring case (a name two emulators share is listed twice): the
// emulator selectors' entries and the compatibility report's order.
StringList SortedEmulatorNames(const std::vector<EmuRecord>& emuList);

// The entry of the second list of a pair (warning texts, link targets) at the index, or
// empty where a damaged record's second list is shorter than its first.
const std::string& PairedEntry(const StringList& list, std::size_t index);

// A drop-down (a selector, a publisher or type box) accepts a typed text that equals one
// of its entries ignoring case.
bool IsEntryIgnoringCase(const std::vector<std::string>& entries, const std::string& text);

bool NamesMatch(const std::string& a, const std::string& b);
std::string FindPublisher(const std::string& name, const NameList& publishers);

bool IsUpperAscii(char c);
bool IsLowerAscii(char c);
std::string SplitCamelCase(const std::string& text);
int MinInt(int a, int b);
std::string RemoveChar(char c, const std::string& text);
std::string ReplaceChar(char oldChar, char newChar, const std::string& text);
// Characters from position from to position to (1-based, inclusive).
std::string CopyRange(const std::string& text, int from, int to);

} // namespace vorbix
