#pragma once
// ADFS disc and UEF tape images built byte by byte for the tests: an old-map ADFS disc with
// its root directory, and a tape whose files are split into cassette blocks, each in a data
// chunk of its own after a carrier tone, plain or gzip-compressed.

#include <string>
#include <vector>

namespace vorbix::test {

struct AdfsFile {
    std::string Name; // up to 10 characters
    bool Directory = false; // a subdirectory, written at its start sector too
    bool Locked = false;
    unsigned Load = 0;
    unsigned Exec = 0;
    unsigned Length = 0;
    unsigned StartSector = 7;
};

// A disc of totalSectors sectors (640 S, 1280 M, 2560 L) with the boot option and the root
// directory's title and entries. Interleaved: the tracks of the two sides alternate, as in
// an .adl file (logical sectors 0-1279 on the first side, the rest on the second).
std::string AdfsImage(unsigned totalSectors, int bootOption, const std::string& title,
    const std::vector<AdfsFile>& root, bool interleaved = false);

struct TapeFileSpec {
    std::string Name; // up to 10 characters
    unsigned Load = 0;
    unsigned Exec = 0;
    std::string Data;
    bool Locked = false;
};

// A UEF 0.10 tape of the files, each in blocks of up to 256 bytes with correct checksums.
std::string UefImage(const std::vector<TapeFileSpec>& files);

// The bytes as one gzip member.
std::string Gzip(const std::string& bytes);

} // namespace vorbix::test
