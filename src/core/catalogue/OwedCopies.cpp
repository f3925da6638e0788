#include "catalogue/OwedCopies.h"

#include "catalogue/KeptCopies.h"
#include "catalogue/XMLUtilities.h"
#include "host/Prompts.h"

#include <algorithm>

namespace vorbix {

namespace {

const char* KeptCopyTag(KeepReason reason)
{
    return reason == KeepReason::Damaged ? "damaged" : "before-import";
}

std::vector<PendingCopy>::iterator FindPendingCopy(Catalogue& catalogue, const std::string& path)
{
    return std::find_if(catalogue.PendingCopies.begin(), catalogue.PendingCopies.end(),
        [&](const PendingCopy& pending) { return pending.Path == path; });
}

bool OwesCopy(const Catalogue& catalogue, const std::string& path)
{
    return std::any_of(catalogue.PendingCopies.begin(), catalogue.PendingCopies.end(),
        [&](const PendingCopy& pending) { return pending.Path == path; });
}

} // namespace

void ShowFileWarning(Prompts& prompts, const std::string& text)
{
    prompts.ShowMessageBox({"", text, MessageIcon::Exclamation, MessageButtons::Ok});
}

void ForgetPendingCopy(Catalogue& catalogue, const std::string& path)
{
    if (auto it = FindPendingCopy(catalogue, path); it != catalogue.PendingCopies.end())
        catalogue.PendingCopies.erase(it);
}

KeepOutcome KeepOrOweCopy(Catalogue& catalogue, const std::string& path, KeepReason reason, LoadAccess access,
    FileWriter& copies)
{
    // Each start on the same damaged file would otherwise keep one more identical copy.
    if (std::string kept = KeptCopyHolding(path, KeptCopyTag(reason)); !kept.empty())
        return {kept, {}};
    if (access == LoadAccess::KeepCopies) {
        Result<std::string> kept = KeepCopyBeside(path, KeptCopyTag(reason), copies);
        if (kept)
            return {kept.Value(), {}};
        catalogue.PendingCopies.push_back({path, reason});
        return {{}, kept.Message()};
    }
    catalogue.PendingCopies.push_back({path, reason});
    return {};
}

// A catalogue file whose structure is not what the writer produces (an element without its
// closing tag, a stray tag in a hand-edited value, an element where the dialect has none,
// a truncated file) loses records or lists when it is read; the next save would make that
// final. So it is read as far as it goes, reported, and copied aside first.
void ReportDamage(Catalogue& catalogue, const std::string& path, const std::string& fault, Prompts& prompts,
    LoadAccess access, FileWriter& copies, const std::string& whatWasRead)
{
    const std::string damaged =
        "File " + path + " is damaged: " + fault + ". What could be read was loaded" + whatWasRead;
    const KeepOutcome kept = KeepOrOweCopy(catalogue, path, KeepReason::Damaged, access, copies);
    if (!kept.Copy.empty())
        ShowFileWarning(prompts, damaged + "; the file was copied to " + kept.Copy + ".");
    else if (!kept.Problem.empty())
        ShowFileWarning(prompts,
            damaged + ", but no copy of it could be kept (" + kept.Problem
                + "), so it will not be saved over until a copy can be kept beside it.");
    else
        ShowFileWarning(prompts, damaged + "; the file was left as it is, and no copy was made.");
}

// True when the file is damaged (and reported).
bool CheckLoadedFile(Catalogue& catalogue, const TXMLLoadObject& reader, const XMLStructure& structure,
    const std::string& path, Prompts& prompts, LoadAccess access, FileWriter& copies)
{
    const std::string fault = reader.CheckStructure(structure);
    if (!fault.empty())
        ReportDamage(catalogue, path, fault, prompts, access, copies);
    return !fault.empty();
}

// Before a save replaces a file that is owed a copy: keeps the copy (noted for the user),
// or refuses the save of that file with the reason.
Status KeepOwedCopy(Catalogue& catalogue, const std::string& path, FileWriter& writer,
    std::vector<std::string>& notices)
{
    const auto pending = FindPendingCopy(catalogue, path);
    if (pending == catalogue.PendingCopies.end())
        return {};
    const KeepReason reason = pending->Reason;
    // A file that has gone meanwhile holds nothing a save could lose.
    if (!PathExists(path)) {
        catalogue.PendingCopies.erase(pending);
        return {};
    }
    Result<std::string> kept = KeepCopyBeside(path, KeptCopyTag(reason), writer);
    if (!kept) {
        if (reason == KeepReason::Damaged)
            return Failure{"Cannot save " + path + ": the file is damaged and no copy of it could be kept ("
                    + kept.Message() + "). It was left as it is.",
                path};
        return Failure{"Cannot save " + path
                + ": the programs file that was there before the legacy import "
                  "could not be kept under a new name ("
                + kept.Message() + "). It was left as it is.",
            path};
    }
    if (reason == KeepReason::Damaged)
        notices.push_back("The damaged file " + path + " was copied to " + kept.Value() + " before it was saved over.");
    else
        notices.push_back("The programs file that was there before the legacy import, " + path + ", was kept as "
            + kept.Value() + " before it was saved over.");
    catalogue.PendingCopies.erase(pending);
    return {};
}

// The save of a file that is still owed its copy (SaveCatalogue keeps such copies first).
Status RefuseWhileOwed(const Catalogue& catalogue, const std::string& path)
{
    if (OwesCopy(catalogue, path))
        return Failure{"Cannot save " + path + " before a copy of it is kept.", path};
    return {};
}

} // namespace vorbix
