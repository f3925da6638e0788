#include "catalogue/Main_LoadSaveUnit.h"

#include "catalogue/KeptCopies.h"
#include "catalogue/OwedCopies.h"
#include "host/Prompts.h"
#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <new>

namespace vorbix {

// ---- damaged and replaced files -------------------------------------------

// ---- start-up and shut-down -----------------------------------------------

namespace {

std::string Counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "A", "A and B", "A, B and C".
std::string JoinedNames(const std::vector<std::string>& names)
{
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += i + 1 == names.size() ? " and " : ", ";
        out += names[i];
    }
    return out;
}

// A legacy import over a programs file that is there would replace that file at the next
// save, and the user expects the catalogue it holds: it is kept under a new name first
// (or owed that copy), and the user is told what was imported and where the old file is.
// Without a programs file the import replaces nothing and goes unannounced.
void ReportImportOverProgramsFile(Catalogue& catalogue, Prompts& prompts, LoadAccess access, FileWriter& copies)
{
    const std::string path = catalogue.AppFile(kProgramsFile);
    if (!PathExists(path))
        return;
    std::vector<std::string> found;
    for (const char* name : {kLegacyProgramsFile, kLegacyOptionsFile, kLegacyEmusFile, kLegacyFiltersFile})
        if (FileExists(catalogue.AppFile(name)))
            found.emplace_back(name);
    const std::string imported = "The catalogue was imported from the legacy files " + JoinedNames(found) + " in "
        + catalogue.AppDir + " (" + Counted(catalogue.ProgramList.size(), "program", "programs") + ", "
        + Counted(catalogue.EmuList.size(), "emulator", "emulators") + ", "
        + Counted(catalogue.FilterList.size(), "filter", "filters") + "), because " + catalogue.AppFile(kOptionsFile)
        + " does not exist.";
    const KeepOutcome kept = KeepOrOweCopy(catalogue, path, KeepReason::LegacyImport, access, copies);
    if (!kept.Copy.empty())
        ShowFileWarning(prompts,
            imported + " The programs file that was there, " + path + ", was kept as " + kept.Copy
                + "; the next save writes the imported programs in its place.");
    else if (!kept.Problem.empty())
        ShowFileWarning(prompts,
            imported + " The programs file that is there, " + path + ", could not be kept under a new name ("
                + kept.Problem + "), so it will not be saved over until a copy can be kept beside it.");
    else
        ShowFileWarning(prompts,
            imported + " The programs file that is there, " + path
                + ", was left as it is; a save would keep it under a new name before writing the imported "
                  "programs in its place.");
}

// "512 bytes", "3.4 KB", "67.0 MB", "2.0 GB".
std::string SizeText(std::uintmax_t bytes)
{
    if (bytes < 1024)
        return std::to_string(bytes) + " bytes";
    const char* const units[] = {"KB", "MB", "GB", "TB"};
    double size = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (size >= 1024 && unit + 1 < std::size(units)) {
        size /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", size, units[unit]);
    return text;
}

// Runs the load of the file at path; running out of memory on the way is a sentence the user
// can act on, naming the file and its size, and the catalogue counts as not loaded.
template <typename Load>
Status WithinMemory(const std::string& path, Load load)
{
    try {
        return load();
    } catch (const std::bad_alloc&) {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        return Failure{"Not enough memory to read " + path + (ec ? std::string() : " (" + SizeText(size) + ")"), path};
    }
}

Result<CatalogueSource> LoadFromSource(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress,
    LoadAccess access, FileWriter& copies)
{
    // PathExists: a link at the options file that cannot be followed is a file that cannot
    // be opened, not a missing one that a legacy import or an empty catalogue would replace.
    const bool haveOptions = PathExists(catalogue.AppFile(kOptionsFile));
    const bool haveLegacy = FileExists(catalogue.AppFile(kLegacyOptionsFile));
    if (haveOptions || !haveLegacy) {
        if (Status loaded = WithinMemory(catalogue.AppFile(kProgramsFile),
                [&] { return LoadProgramsFile(catalogue, prompts, progress, access, copies); });
            !loaded)
            return loaded.Error();
        if (Status loaded = WithinMemory(catalogue.AppFile(kOptionsFile),
                [&] { return LoadOptionsFile(catalogue, prompts, access, copies); });
            !loaded)
            return loaded.Error();
        return haveOptions || FileExists(catalogue.AppFile(kProgramsFile)) ? CatalogueSource::Xml
                                                                           : CatalogueSource::None;
    }
    if (progress)
        progress("Loading programs...");
    for (Status (*import)(Catalogue&) :
        {ImportLegacyPrograms, ImportLegacyOptions, ImportLegacyEmus, ImportLegacyFilters}) {
        if (Status imported = import(catalogue); !imported)
            return imported.Error();
    }
    catalogue.ProgramsChanged = true;
    // Only once the import has succeeded: a failed one ends the run without a save.
    ReportImportOverProgramsFile(catalogue, prompts, access, copies);
    return CatalogueSource::Legacy;
}

SeenFile SeenBeforeReading(const std::string& path)
{
    SeenFile seen;
    seen.Tracked = true;
    Result<FileIdentity> identity = IdentifyFile(path);
    if (identity)
        seen.Identity = identity.Value();
    else
        seen.ChangedWhileRead = true; // not known what it holds; the load says why
    return seen;
}

void CheckAfterReading(SeenFile& seen, const std::string& path)
{
    if (ChangedSince(seen.Identity, path))
        seen.ChangedWhileRead = true;
}

} // namespace

Result<CatalogueSource> LoadCatalogue(Catalogue& catalogue, Prompts& prompts, const LoadProgress& progress,
    LoadAccess access, FileWriter& copies)
{
    catalogue.PendingCopies.clear();
    catalogue.ProgramsFileSeen = {};
    catalogue.OptionsFileSeen = {};
    // A caller that saves later is told then whether anything else has written the files
    // meanwhile; so it notes what they are now, before they are read.
    const bool track = access == LoadAccess::KeepCopies;
    if (track) {
        catalogue.ProgramsFileSeen = SeenBeforeReading(catalogue.AppFile(kProgramsFile));
        catalogue.OptionsFileSeen = SeenBeforeReading(catalogue.AppFile(kOptionsFile));
    }
    Result<CatalogueSource> loaded = LoadFromSource(catalogue, prompts, progress, access, copies);
    if (track) {
        CheckAfterReading(catalogue.ProgramsFileSeen, catalogue.AppFile(kProgramsFile));
        CheckAfterReading(catalogue.OptionsFileSeen, catalogue.AppFile(kOptionsFile));
    }
    return loaded;
}

namespace {

constexpr const char* kOutsideTag = "outside";

// A save that fails after keeping copies still tells where they are.
Failure WithNotices(const std::vector<std::string>& notices, Failure failure)
{
    for (auto it = notices.rbegin(); it != notices.rend(); ++it)
        failure.Message = *it + " " + failure.Message;
    return failure;
}

// A catalogue file that something else has written since this catalogue read or wrote it.
struct OutsideVersion {
    const char* RelativeName;
    std::string Path;
};

bool WrittenOutside(const SeenFile& seen, const std::string& path)
{
    return seen.Tracked && PathExists(path) && (seen.ChangedWhileRead || ChangedSince(seen.Identity, path));
}

// Asks, for each file that was written outside, whether to save over it; true when the
// answer was Yes for all of them. The version on disk is then kept first, under the name
// the question gave it.
bool AgreedToSaveOver(const Catalogue& catalogue, const std::vector<OutsideVersion>& outside, Prompts* prompts)
{
    for (const OutsideVersion& version : outside) {
        if (prompts == nullptr)
            return false;
        const std::string kept = NextKeptCopyName(version.Path, kOutsideTag);
        const std::string shown = kept.substr(std::min(kept.size(), catalogue.AppDir.size()));
        if (!prompts->Confirm(std::string(version.RelativeName)
                + " was changed outside Vorbix since it was loaded. Save the catalogue shown here over it? "
                  "The version on disk is kept as "
                + shown + "."))
            return false;
    }
    return true;
}

Status KeepOutsideVersion(const std::string& path, FileWriter& writer)
{
    Result<std::string> kept = KeepCopyBeside(path, kOutsideTag, writer);
    if (!kept)
        return Failure{"Cannot save " + path + ": it was changed outside Vorbix, and that version could not be kept ("
                + kept.Message() + "). It was left as it is.",
            path};
    return {};
}

// After a file was written: what it is now, for the next save's look.
void NoteWritten(SeenFile& seen, const std::string& path)
{
    if (!seen.Tracked)
        return;
    Result<FileIdentity> identity = IdentifyFile(path);
    seen.ChangedWhileRead = !identity;
    if (identity)
        seen.Identity = identity.Value();
}

// The files a save would write that something else has written since.
std::vector<OutsideVersion> OutsideVersions(const Catalogue& catalogue, bool withPrograms)
{
    std::vector<OutsideVersion> outside;
    const std::string programsPath = catalogue.AppFile(kProgramsFile);
    const std::string optionsPath = catalogue.AppFile(kOptionsFile);
    if (withPrograms && WrittenOutside(catalogue.ProgramsFileSeen, programsPath))
        outside.push_back({kProgramsFile, programsPath});
    if (WrittenOutside(catalogue.OptionsFileSeen, optionsPath))
        outside.push_back({kOptionsFile, optionsPath});
    return outside;
}

} // namespace

bool SaveWouldAsk(const Catalogue& catalogue, bool atExit)
{
    return !OutsideVersions(catalogue, catalogue.ProgramsChanged || !atExit).empty();
}

Result<SavedFiles> SaveCatalogue(Catalogue& catalogue, bool atExit, FileWriter& writer, Prompts* prompts)
{
    const bool withPrograms = catalogue.ProgramsChanged || !atExit;
    const std::string programsPath = catalogue.AppFile(kProgramsFile);
    const std::string optionsPath = catalogue.AppFile(kOptionsFile);
    SavedFiles saved;
    // Nothing is written before the user has decided about every file written outside.
    const std::vector<OutsideVersion> outside = OutsideVersions(catalogue, withPrograms);
    if (!AgreedToSaveOver(catalogue, outside, prompts)) {
        saved.Declined = true;
        return saved;
    }
    // A first save into a fresh application folder creates "Data".
    const std::string dataDir = catalogue.AppFile("Data");
    if (!DirectoryExists(dataDir) && !ForceDirectories(dataDir))
        return Failure::CannotCreate(withPrograms ? programsPath : optionsPath);
    for (const OutsideVersion& version : outside)
        if (Status kept = KeepOutsideVersion(version.Path, writer); !kept)
            return kept.Error();
    if (withPrograms) {
        if (Status kept = KeepOwedCopy(catalogue, programsPath, writer, saved.Notices); !kept)
            return kept.Error();
        if (Status written = SaveProgramsFile(catalogue, writer); !written)
            return WithNotices(saved.Notices, written.Error());
        saved.ProgramsFile = true;
        NoteWritten(catalogue.ProgramsFileSeen, programsPath);
    }
    if (Status kept = KeepOwedCopy(catalogue, optionsPath, writer, saved.Notices); !kept)
        return WithNotices(saved.Notices, kept.Error());
    if (Status written = SaveOptionsFile(catalogue, writer); !written)
        return WithNotices(saved.Notices, written.Error());
    saved.OptionsFile = true;
    NoteWritten(catalogue.OptionsFileSeen, optionsPath);
    return saved;
}

} // namespace vorbix
