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

// Writes the catalogue's programs and options files into appDir/Data (created), returning
// the size of the programs file in bytes.
long long WriteBenchAppDir(Catalogue& catalogue, const std::string& appDir);

// A fresh temporary folder ending in '/'.
std::string MakeTempFolder();

// Peak resident memory of this process so far, in bytes.
long long PeakRssBytes();

} // namespace vorbix::bench
