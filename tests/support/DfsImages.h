#pragma once
// DFS disc images built byte by byte for the tests: a catalogue in the first two sectors
// (and a Watford DDFS disc's second one in sectors 2 and 3), each file's bytes at its start
// sector; double-sided images with their sides interleaved track by track.

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

// A Watford DDFS disc: the first 31 files in the first catalogue, the rest (up to 31 more)
// in the second, marked by eight bytes &AA at the start of sector 2.
std::string WatfordImage(const std::string& title, int bootOption, const std::vector<DfsFile>& files,
    unsigned sectors = 800);

// A double-sided image of two single-sided ones: track 0 of side 0, track 0 of side 1,
// track 1 of side 0, ... (10 sectors a track); the shorter side is filled with zeros.
std::string DsdImage(const std::string& side0, const std::string& side1);

} // namespace vorbix::test
