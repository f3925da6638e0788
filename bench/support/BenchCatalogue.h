#pragma once
// Generated catalogues for the benchmarks: many programs over many publishers, with
// comments, warnings and links, written as a real application folder when asked.

#include "catalogue/Catalogue.h"
#include "host/Prompts.h"

#include <string>

namespace vorbix::bench {

// Prompts that answer every box with OK and choose nothing.
class SilentPrompts : public Prompts {
public:
    MessageAnswer ShowMessageBox(const MessageRequest&) override { return MessageAnswer::Ok; }
    std::optional<std::string> ChooseFile(const FileOpenRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFolder(const FolderRequest&) override { return std::nullopt; }
};

// A deterministic catalogue: programs spread over publishers, ten program types, four
// emulators, a few filters; about a third of the programs have comments, warnings or links.
Catalogue MakeBenchCatalogue(int programs, int publishers);

// The shapes of catalogue every operation is measured on:
//   ordinary         names and publishers as MakeBenchCatalogue makes them
//   shared-prefix    every name starts with the same 40 bytes, then a number
//   same-name        every program has the same name
//   own-publisher    every program has a publisher of its own
//   long-names       names of 200 bytes
//   non-ascii        names in UTF-8 with accented letters, a quarter in Windows-1252
inline constexpr const char* kShapes[] = {"ordinary", "shared-prefix", "same-name", "own-publisher", "long-names",
    "non-ascii"};
inline constexpr int kShapeCount = 6;
Catalogue MakeShapedCatalogue(int shape, int programs);

// Writes the catalogue's programs and options files into appDir/Data (created), returning
// the size of the programs file in bytes.
long long WriteBenchAppDir(Catalogue& catalogue, const std::string& appDir);

// A fresh temporary folder ending in '/'.
std::string MakeTempFolder();

// Peak resident memory of this process so far, in bytes.
long long PeakRssBytes();

} // namespace vorbix::bench
