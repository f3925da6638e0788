#include "support/BenchCatalogue.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>

namespace vorbix::bench {

namespace {

// A small linear congruential generator: the same catalogue on every run.
struct Lcg {
    unsigned long long state;
    unsigned Next()
    {
        return static_cast<unsigned>((state = state * 6364136223846793005ULL + 1442695040888963407ULL) >> 33);
    }
    unsigned Below(unsigned n) { return Next() % n; }
};

std::string Word(Lcg& rng)
{
    static const char* syllables[] = {"ba", "zor", "qui", "el", "ite", "mon", "rak", "sta", "vo", "lun", "dex", "tor"};
    std::string w;
    int n = 2 + static_cast<int>(rng.Below(3));
    for (int i = 0; i < n; ++i)
        w += syllables[rng.Below(12)];
    w[0] = static_cast<char>(w[0] - 32);
    return w;
}

} // namespace

Catalogue MakeBenchCatalogue(int programs, int publishers)
{
    Catalogue c;
    Lcg rng{12345};
    std::vector<std::string> pubs;
    for (int i = 0; i < publishers; ++i) {
        pubs.push_back(Word(rng) + " Soft " + std::to_string(i));
        c.Publishers.Add(pubs.back());
    }
    static const char* types[] = {"Arcade", "Adventure", "Strategy", "Puzzle", "Utility", "Education", "Simulation",
        "Sport", "Music", "Demo"};
    for (const char* t : types)
        c.ProgramTypes.Add(t);
    for (int e = 0; e < 4; ++e) {
        EmuRecord emu;
        emu.EmuName = "Emu" + std::to_string(e);
        emu.EmuUrl = "/opt/emu" + std::to_string(e) + "/beebem";
        emu.DiskWorkingDir = "/opt/emu" + std::to_string(e) + "/discs/";
        emu.DiskFilename = "game";
        c.EmuList.push_back(emu);
    }
    c.LastEmu = "Emu0"; // the emulator selector's text when the catalogue was saved
    for (int f = 0; f < 6; ++f) {
        FilterRecord filter;
        filter.FilterName = "Filter " + std::to_string(f);
        filter.FType = types[f];
        filter.FFavourite = f % 2 ? FavouriteCondition::fcTrue : FavouriteCondition::fcDontCare;
        c.FilterList.push_back(filter);
    }
    c.ProgramList.reserve(static_cast<std::size_t>(programs));
    for (int i = 0; i < programs; ++i) {
        ProgramRecord p;
        p.ProgramName = Word(rng) + " " + Word(rng) + " " + std::to_string(i);
        p.PublisherName = pubs[rng.Below(static_cast<unsigned>(publishers))];
        p.ProgramType = types[rng.Below(10)];
        p.FileUrl = "/home/user/beeb/" + p.PublisherName + "/" + std::to_string(i) + ".ssd";
        p.Favourite = rng.Below(5) == 0;
        p.E00Dfs = rng.Below(10) == 0;
        if (rng.Below(3) == 0) {
            for (unsigned k = 0, n = 1 + rng.Below(4); k < n; ++k)
                p.Comments.push_back("Comment line " + std::to_string(k) + " about <" + Word(rng) + "> & 'quotes'");
        }
        if (rng.Below(4) == 0) {
            p.EmuWarningEmus.push_back("Emu" + std::to_string(rng.Below(4)));
            p.EmuWarningTexts.push_back("Needs " + Word(rng) + " mode");
        }
        if (rng.Below(4) == 0) {
            for (unsigned k = 0, n = 1 + rng.Below(3); k < n; ++k) {
                p.DocLinkNames.push_back("Manual " + std::to_string(k));
                p.DocLinkUrls.push_back("/home/user/docs/" + std::to_string(i) + "-" + std::to_string(k) + ".pdf");
            }
        }
        c.ProgramList.push_back(std::move(p));
    }
    return c;
}

long long WriteBenchAppDir(Catalogue& catalogue, const std::string& appDir)
{
    catalogue.AppDir = appDir;
    ForceDirectories(appDir + "Data");
    if (!SaveProgramsFile(catalogue) || !SaveOptionsFile(catalogue))
        std::abort();
    return static_cast<long long>(std::filesystem::file_size(appDir + kProgramsFile));
}

std::string MakeTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vorbix-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    return pattern + "/";
}

long long PeakRssBytes()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;
}

Catalogue MakeShapedCatalogue(int shape, int programs)
{
    Catalogue c = MakeBenchCatalogue(programs, std::max(1, programs / 200));
    const std::string prefix = "The Micro User Magazine Cover Disk No. 0"; // 40 bytes
    const std::string filler = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    for (std::size_t i = 0; i < c.ProgramList.size(); ++i) {
        ProgramRecord& p = c.ProgramList[i];
        const std::string number = std::to_string(i);
        switch (shape) {
        case 1: p.ProgramName = prefix + std::string(7 - std::min<std::size_t>(7, number.size()), '0') + number; break;
        case 2: p.ProgramName = "Elite"; break;
        case 3: p.PublisherName = "Publisher " + number; break;
        case 4: {
            std::string name = p.ProgramName + " ";
            while (name.size() < 200)
                name += filler;
            p.ProgramName = name.substr(0, 200 - number.size()) + number;
            break;
        }
        case 5:
            p.ProgramName = i % 4 == 0 ? "\xc9lite Caf\xe9 " + number // Windows-1252
                                       : "\xc3\x89lite Caf\xc3\xa9 \xc3\x91"
                                         "and\xc3\xba "
                    + number;
            break;
        default: break;
        }
    }
    // Each publisher and type once in the categories, as the editor keeps them.
    std::vector<std::string> publishers;
    std::vector<std::string> types;
    for (const ProgramRecord& p : c.ProgramList) {
        publishers.push_back(p.PublisherName);
        types.push_back(p.ProgramType);
    }
    for (std::vector<std::string>* names : {&publishers, &types}) {
        std::sort(names->begin(), names->end());
        names->erase(std::unique(names->begin(), names->end()), names->end());
    }
    c.Publishers.Clear();
    c.Publishers.AddAll(std::move(publishers));
    c.ProgramTypes.Clear();
    c.ProgramTypes.AddAll(std::move(types));
    return c;
}

} // namespace vorbix::bench
