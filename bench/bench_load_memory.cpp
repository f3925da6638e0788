// Loads the catalogue of one application folder, as `vorbix-cli info` does, and prints the
// peak resident memory of the process with the size of its programs file. Peak memory is
// a figure of the whole process, so each measurement needs a process that does nothing
// else: bench_scale starts this one once per shape and size (LoadPeakMemory).
//
//   bench_load_memory APPDIR [RUNS]   loads RUNS times (default 1), prints one line:
//       programs_file_bytes=N rss_before_bytes=N peak_rss_bytes=N programs=N ms=T
//   bench_load_memory --make N APPDIR [SHAPE] writes a generated catalogue of N programs
//       there, of one of bench_scale's shapes (by name) or, without one, MakeBenchCatalogue's
//   bench_load_memory --pugixml APPDIR  parses its programs file with pugixml once, prints
//       pugixml_ms=T peak_rss_bytes=N
//
// rss_before_bytes is the peak before the load (the program and its libraries), so the
// load's own share is the difference.

#include "catalogue/Main_LoadSaveUnit.h"
#include "support/BenchCatalogue.h"

#include <pugixml.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace vorbix;

int main(int argc, char** argv)
{
    if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--make") {
        const int programs = std::atoi(argv[2]);
        int shape = -1;
        for (int k = 0; argc == 5 && k < bench::kShapeCount; ++k)
            if (std::string(argv[4]) == bench::kShapes[k])
                shape = k;
        if (argc == 5 && shape < 0) {
            std::fprintf(stderr, "no shape called %s\n", argv[4]);
            return 2;
        }
        Catalogue c = shape >= 0 ? bench::MakeShapedCatalogue(shape, programs)
                                 : bench::MakeBenchCatalogue(programs, std::max(1, programs / 200));
        std::string dir = argv[3];
        if (dir.empty() || dir.back() != '/')
            dir += '/';
        std::printf("programs_file_bytes=%lld\n", bench::WriteBenchAppDir(c, dir));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--pugixml") {
        // The reference in a process of its own, with the same heap: a fresh process pays
        // for every page of the document it builds.
        std::string dir = argv[2];
        if (dir.empty() || dir.back() != '/')
            dir += '/';
        const auto start = std::chrono::steady_clock::now();
        pugi::xml_document document;
        if (!document.load_file((dir + kProgramsFile).c_str())) {
            std::fprintf(stderr, "pugixml could not parse the programs file in %s\n", dir.c_str());
            return 1;
        }
        std::printf("pugixml_ms=%.1f peak_rss_bytes=%lld\n",
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
            bench::PeakRssBytes());
        return 0;
    }
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s APPDIR [RUNS] | --make N APPDIR [SHAPE] | --pugixml APPDIR\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    const int runs = argc == 3 ? std::max(1, std::atoi(argv[2])) : 1;
    const long long before = bench::PeakRssBytes();
    bench::SilentPrompts prompts;
    std::size_t programs = 0;
    double ms = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        Catalogue c;
        c.AppDir = dir;
        if (!LoadCatalogue(c, prompts)) {
            std::fprintf(stderr, "the catalogue in %s did not load\n", dir.c_str());
            return 1;
        }
        ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        programs = c.ProgramList.size();
    }
    std::error_code error;
    const auto fileBytes = std::filesystem::file_size(dir + kProgramsFile, error);
    std::printf("programs_file_bytes=%lld rss_before_bytes=%lld peak_rss_bytes=%lld programs=%zu ms=%.1f\n",
        error ? -1LL : static_cast<long long>(fileBytes), before, bench::PeakRssBytes(), programs, ms / runs);
    return 0;
}
