#pragma once
// Moving a catalogue: the images, documents and remembered folders now lie below another
// folder (a collection copied from Windows, a disk mounted elsewhere), and every path that
// began with the old folder is rewritten to begin with the new one.

#include "editing/CatalogueChange.h"

#include <string>
#include <vector>

namespace vorbix {

struct Catalogue;

enum class RelocatedField {
    ProgramFile, // a program's FileUrl
    DocumentLink, // an entry of a program's DocLinkUrls
    ProgramFolder, // LastProgramDir
    EmulatorFolder, // LastEmuDir
    DocumentFolder, // LastDocDir
    PictureFile, // the options' PictureUrl (the source picture file)
};

struct Relocation {
    RelocatedField Field = RelocatedField::ProgramFile;
    int PIdx = -1; // the program, for ProgramFile and DocumentLink
    int LinkIndex = -1; // the link, for DocumentLink
    std::string OldPath;
    std::string NewPath;
    bool Exists = false; // whether something stands at the new path
};

// The path with the folder from replaced by the folder to, or empty when it does not begin
// with from. from matches a whole folder: "C:\Games" begins "C:\Games\Elite.ssd" and
// "C:\Games" but not "C:\GamesOld\x". A Windows-style from ("C:\Games\", "\\server\share")
// compares without regard to ASCII letter case and takes "\" and "/" as the same; when to
// is a folder of this system, the rest of the path has its "\" turned into "/".
std::string RelocatedPath(const std::string& path, const std::string& from, const std::string& to);

// Every path of the catalogue that the move rewrites, programs in PIdx order first, with
// whether its new path exists. Nothing is changed.
std::vector<Relocation> PlanRelocation(const Catalogue& catalogue, const std::string& from, const std::string& to);

// Writes the planned paths into the catalogue. Program paths set ProgramsChanged; the
// remembered folders and the picture path are saved with the options.
CatalogueChange ApplyRelocation(Catalogue& catalogue, const std::vector<Relocation>& plan);

// The deepest folder that holds every program's file, with its separator at the end; empty
// when the programs share none (or there are none). What the move is most often about.
std::string CommonFolder(const Catalogue& catalogue);

// "program NAME" / "link NAME of PROGRAM" / "remembered folder of programs" ... for lists.
std::string RelocationPlace(const Catalogue& catalogue, const Relocation& relocation);

} // namespace vorbix
