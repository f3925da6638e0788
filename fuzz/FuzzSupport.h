#pragma once
// What the fuzz targets share: prompts that swallow every box, a private application
// folder for the process (the loaders read files by path), and a check that stops the run
// with a crash libFuzzer records.

#include "catalogue/Catalogue.h"
#include "fastpath/CollationTable.h"
#include "host/Prompts.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace vorbix::fuzz {

class SilentPrompts : public Prompts {
public:
    MessageAnswer ShowMessageBox(const MessageRequest&) override
    {
        ++shown;
        return MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(const FileOpenRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFolder(const FolderRequest&) override { return std::nullopt; }
    int shown = 0;
};

inline void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A folder of this process's own, ending in '/', removed when the process ends (a run that
// stops on a finding leaves it, so scripts/fuzz.sh names the place: VORBIX_FUZZ_TMP, else
// /dev/shm when writable, else /tmp). The name is never destroyed, so that the removal at
// exit can still read it.
inline const std::string& Folder()
{
    static const std::string& folder = *[] {
        const char* place = std::getenv("VORBIX_FUZZ_TMP");
        std::string pattern = place != nullptr && *place != '\0' ? place
            : access("/dev/shm", W_OK) == 0                      ? "/dev/shm"
                                                                 : "/tmp";
        pattern += "/vorbix-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return new std::string(pattern + "/");
    }();
    return folder;
}

// Empties the folder and gives it an empty Data folder, so that no run sees what an
// earlier one left (copies of damaged files, say).
inline void FreshAppDir()
{
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(Folder(), ignored))
        std::filesystem::remove_all(entry.path(), ignored);
    std::filesystem::create_directories(Folder() + "Data", ignored);
}

inline Catalogue CatalogueInFolder()
{
    Catalogue catalogue;
    catalogue.AppDir = Folder();
    return catalogue;
}

// The programs in the order a save writes them and a load then reads them: grouped by
// publisher, the publishers (distinct names in order of first appearance) sorted without
// regard to case, each one's programs in list order.
inline std::vector<ProgramRecord> InWriterOrder(const std::vector<ProgramRecord>& programs)
{
    std::vector<std::string> publishers;
    std::unordered_map<std::string, std::vector<const ProgramRecord*>> byPublisher;
    for (const auto& program : programs) {
        auto& group = byPublisher[program.PublisherName];
        if (group.empty())
            publishers.push_back(program.PublisherName);
        group.push_back(&program);
    }
    std::stable_sort(publishers.begin(), publishers.end(),
        [](const std::string& a, const std::string& b) { return CompareTextIgnoreCase(a, b) < 0; });
    std::vector<ProgramRecord> ordered;
    for (const auto& publisher : publishers)
        for (const ProgramRecord* program : byPublisher[publisher])
            ordered.push_back(*program);
    return ordered;
}

// Everything the options file holds.
inline bool SameOptions(const Catalogue& a, const Catalogue& b)
{
    return a.EmuList == b.EmuList && a.FilterList == b.FilterList && a.Publishers.Items() == b.Publishers.Items()
        && a.ProgramTypes.Items() == b.ProgramTypes.Items() && a.LastProgramDir == b.LastProgramDir
        && a.LastEmuDir == b.LastEmuDir && a.LastDocDir == b.LastDocDir && a.LastFilter == b.LastFilter
        && a.LastEmu == b.LastEmu && a.Options == b.Options;
}

} // namespace vorbix::fuzz
