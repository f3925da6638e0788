#include "catalogue/Utilities.h"

#include "fastpath/CollationTable.h"
#include "host/Shell.h"
#include "platform/Collation.h"
#include "platform/FileSystem.h"
#include "platform/PngPictures.h"
#include "platform/Process.h"

#include <algorithm>
#include <sys/stat.h>

namespace vorbix {

bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::size_t FolderPartLength(const std::string& path)
{
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsPathSeparator(path[i - 1]))
            return i;
    return HasDriveDesignator(path) ? 2 : 0;
}

std::string FolderPart(const std::string& path)
{
    return path.substr(0, FolderPartLength(path));
}

std::string FileNamePart(const std::string& path)
{
    return path.substr(FolderPartLength(path));
}

std::string FileExtension(const std::string& path)
{
    std::string name = FileNamePart(path);
    auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string IncludeBackslash(const std::string& folder)
{
    if (folder.empty())
        return "/";
    if (IsPathSeparator(folder.back()))
        return folder;
    const bool windowsStyle = folder.find('\\') != std::string::npos || HasDriveDesignator(folder);
    return folder + (windowsStyle ? "\\" : "/");
}

std::string TrimTrailingSpaces(const std::string& text)
{
    auto end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string FileNameNoExt(const std::string& path)
{
    std::string name = FileNamePart(path);
    auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string FolderName(const std::string& path)
{
    std::string rest = FolderPart(path);
    if (rest.empty())
        return rest;
    if (IsPathSeparator(rest.back()))
        rest.pop_back();
    if (HasDriveDesignator(rest))
        rest.erase(0, 2);
    auto sep = rest.find_last_of("\\/");
    if (sep != std::string::npos && sep > 0)
        return rest.substr(sep + 1);
    return rest;
}

namespace {
// The image's folder with a trailing separator; a bare file name gives the root folder, so
// the answer never depends on the folder the program happens to run in.
std::string ImageFolder(const std::string& imagePath)
{
    return IncludeBackslash(FolderPart(imagePath));
}
} // namespace

std::string ImageFileStem(const std::string& imagePath)
{
    return ImageFolder(imagePath) + FileNameNoExt(imagePath);
}

std::string PictureFileFor(const std::string& imagePath)
{
    return ImageFileStem(imagePath) + ".jpg";
}

std::string BoxCoverFileFor(const std::string& imagePath)
{
    return ImageFileStem(imagePath) + "-box.jpg";
}

namespace {

bool Exists(const std::string& path, FileExistenceCache* files)
{
    return files != nullptr ? files->FileExists(path) : FileExists(path);
}

} // namespace

bool PictureFileExists(const std::string& imagePath, FileExistenceCache* files)
{
    return !imagePath.empty() && Exists(PictureFileFor(imagePath), files);
}

bool BoxCoverFileExists(const std::string& imagePath, FileExistenceCache* files)
{
    return !imagePath.empty() && Exists(BoxCoverFileFor(imagePath), files);
}

bool LinkTargetExists(const std::string& target, FileExistenceCache* files)
{
    return !IsAddress(target) && Exists(target, files);
}

int ShellOpen(Shell& shell, const std::string& target)
{
    return shell.Open(target).Code;
}

int ShellOpenIn(Shell& shell, const std::string& target, const std::string& workingDir)
{
    return shell.OpenIn(target, workingDir).Code;
}

void ClearFileAttributes(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
}

Status CopyFileOverwrite(const std::string& source, const std::string& destination, FileWriter& writer)
{
    // No length limit of our own: the operating system's limits apply, and a path it
    // refuses makes the copy fail like any other failure.
    if (FileExists(destination))
        ClearFileAttributes(destination);
    Status copied = Failure::CannotOpen(source);
    if (FileExists(source)) {
        // Through a temporary file and a rename, so a failed copy never leaves a
        // half-written destination (the destination may be the user's own disk image).
        if (Result<std::string> bytes = ReadFileBytes(source))
            copied = writer.WriteFile(destination, bytes.Value());
        else
            copied = bytes.Error();
    }
    if (FileExists(destination))
        ClearFileAttributes(destination);
    return copied;
}

Status CopyPictureFile(const std::string& source, const std::string& destination, FileWriter& writer)
{
    const Failure cannotCopy{"Cannot copy file " + source + " to " + destination, destination};
    Result<std::string> bytes = ReadFileBytes(source);
    if (!bytes)
        return cannotCopy;
    if (!IsPng(bytes.Value()))
        return CopyFileOverwrite(source, destination, writer) ? Status() : Status(cannotCopy);
    Result<std::string> jpeg = JpegFromPng(bytes.Value(), source);
    if (!jpeg)
        return jpeg.Error();
    if (FileExists(destination))
        ClearFileAttributes(destination);
    return writer.WriteFile(destination, jpeg.Value()) ? Status() : Status(cannotCopy);
}

StringList SortedEmulatorNames(const std::vector<EmuRecord>& emuList)
{
    StringList names;
    names.reserve(emuList.size());
    for (const EmuRecord& emu : emuList)
        names.push_back(emu.EmuName);
    std::stable_sort(names.begin(), names.end(),
        [](const std::string& a, const std::string& b) { return CompareTextIgnoreCase(a, b) < 0; });
    return names;
}

const std::string& PairedEntry(const StringList& list, std::size_t index)
{
    static const std::string empty;
    return index < list.size() ? list[index] : empty;
}

bool IsEntryIgnoringCase(const std::vector<std::string>& entries, const std::string& text)
{
    return std::any_of(entries.begin(), entries.end(),
        [&text](const std::string& entry) { return SameTextIgnoreCase(entry, text); });
}

bool NamesMatch(const std::string& a, const std::string& b)
{
    return SameAsciiIgnoreCase(a, b) || SameAsciiIgnoreCase(SplitCamelCase(a), SplitCamelCase(b));
}

std::string FindPublisher(const std::string& name, const NameList& publishers)
{
    std::string found;
    for (const auto& publisher : publishers)
        if (NamesMatch(name, publisher))
            found = publisher;
    return found;
}

bool IsUpperAscii(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool IsLowerAscii(char c)
{
    return c >= 'a' && c <= 'z';
}

std::string SplitCamelCase(const std::string& text)
{
    std::string result = text;
    for (std::size_t i = 1; i < result.size(); ++i) {
        if (IsUpperAscii(result[i]) && IsLowerAscii(result[i - 1])) {
            result.insert(i, 1, ' ');
            ++i;
        }
    }
    return result;
}

int MinInt(int a, int b)
{
    return b < a ? b : a;
}

std::string RemoveChar(char c, const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (char ch : text)
        if (ch != c)
            result += ch;
    return result;
}

std::string ReplaceChar(char oldChar, char newChar, const std::string& text)
{
    std::string result = text;
    for (char& ch : result)
        if (ch == oldChar)
            ch = newChar;
    return result;
}

std::string CopyRange(const std::string& text, int from, int to)
{
    if (to < from)
        return std::string();
    // A start before the first character counts from the first one.
    const long long first = from < 1 ? 1 : from;
    const long long size = static_cast<long long>(text.size());
    if (first > size || to < 1)
        return std::string();
    const long long last = to > size ? size : to;
    return text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

} // namespace vorbix
