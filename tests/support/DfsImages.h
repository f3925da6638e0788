#pragma once
// DFS disc images built byte by byte for the tests: a catalogue in the first two sectors,
// each file's bytes at its start sector.

#include <string>
#include <vector>

namespace vorbix::test {

struct DfsFile {
    std::string Name; // up to 7 characters
    char Directory = '$';
    bool Locked = false;
    unsigned Load = 0; // 18 bits
    unsigned Exec = 0; // 18 bits
    unsigned Length = 0; // 18 bits
    unsigned StartSector = 2; // 10 bits
};

// An image of sectors sectors (the catalogue's disc size; the image holds that many unless
// imageSectors says otherwise) with the title (up to 12 characters), boot option (0-3),
// cycle number and files.
std::string DfsImage(const std::string& title, int bootOption, const std::vector<DfsFile>& files,
    unsigned sectors = 400, unsigned cycle = 0, int imageSectors = -1);

} // namespace vorbix::test
