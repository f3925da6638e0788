// add-folder and relocate: bringing a collection in, and moving one.

#include "CliCatalogue.h"
#include "CliOptions.h"
#include "collection/FolderScan.h"
#include "collection/Relocate.h"
#include "platform/FileSystem.h"

#include <filesystem>
#include <ostream>

namespace vorbix::cli {

namespace {

// Takes the leading arguments that are no option (the command's operands) out of args.
std::vector<std::string> TakeOperands(std::vector<std::string>& args, std::size_t count)
{
    std::vector<std::string> operands;
    while (operands.size() < count && !args.empty() && !args.front().starts_with("--")) {
        operands.push_back(args.front());
        args.erase(args.begin());
    }
    return operands;
}

std::string JoinedNotes(const std::vector<std::string>& notes)
{
    std::string joined;
    for (const std::string& note : notes)
        joined += (joined.empty() ? "" : ", ") + note;
    return joined;
}

void PrintProposals(CliContext& context, const FolderScanResult& result, const ScanCatalogue& catalogue)
{
    for (const FolderProposal& proposal : result.Proposals) {
        const ProgramRecord& record = proposal.Record;
        context.out << (proposal.Ticked ? "add" : "skip") << '\t' << record.ProgramName << '\t' << record.PublisherName
                    << '\t' << SourceText(proposal.Source) << '\t' << JoinedNotes(ProposalNotes(proposal, catalogue))
                    << '\t' << record.FileUrl << "\n";
    }
}

// A folder of this system named from the current one, made whole; a full path and a Windows
// one are left as they stand.
std::string WholeFolder(const std::string& folder)
{
    if (folder.empty() || folder.front() == '/' || HasDriveDesignator(folder) || folder.find('\\') != std::string::npos)
        return folder;
    return std::filesystem::absolute(folder).lexically_normal().string();
}

} // namespace

int RunAddFolder(CliContext& context, const std::vector<std::string>& args)
{
    std::vector<std::string> options = args;
    const std::vector<std::string> operands = TakeOperands(options, 1);
    std::vector<std::string> listFiles;
    bool dryRun = false;
    const std::string problem = ReadOptions(options,
        {{"--dat", true, [&listFiles](const std::string& file) { return listFiles.push_back(file), true; }},
            FlagOption("--dry-run", dryRun)});
    if (operands.empty() || !problem.empty()) {
        context.err << (problem.empty() ? "add-folder needs a folder" : problem) << "\n";
        return kExitUsage;
    }
    // The catalogue keeps full paths: a folder given from the current one is made whole.
    const std::string folder = WholeFolder(operands[0]);
    if (!DirectoryExists(folder)) {
        context.err << "Error: Cannot find folder " << folder << "\n";
        return kExitFileError;
    }
    ChecksumLists lists;
    for (const std::string& file : listFiles) {
        if (Status added = lists.AddFile(file); !added) {
            context.err << "Error: " << added.Message() << "\n";
            return kExitFileError;
        }
    }
    const LoadAccess access = dryRun ? LoadAccess::ReadOnly : LoadAccess::KeepCopies;
    return WithCatalogue(
        context,
        [&](Catalogue& catalogue, CatalogueSource) {
            for (const ChecksumLists::ListFile& list : lists.Files())
                context.out << "list\t" << list.Name << '\t' << list.Entries << (list.Entries == 1 ? " file" : " files")
                            << "\n";
            const ScanCatalogue view = ScanCatalogue::Of(catalogue);
            ScanControl control;
            const FolderScanResult result = ScanFolder(folder, view, lists, control);
            PrintProposals(context, result, view);
            context.out << ScanSummary(result, !lists.empty()) << "\n";
            if (dryRun) {
                context.out << "Nothing saved (--dry-run).\n";
                return FlushedOutput(context, kExitOk);
            }
            const CatalogueChange change = AddProposals(catalogue, result.Proposals);
            if (change.Programs)
                if (int status = SaveCatalogueForCli(context, catalogue))
                    return status;
            return FlushedOutput(context, kExitOk);
        },
        access);
}

int RunRelocate(CliContext& context, const std::vector<std::string>& args)
{
    std::vector<std::string> options = args;
    const std::vector<std::string> operands = TakeOperands(options, 2);
    bool dryRun = false;
    const std::string problem = ReadOptions(options, {FlagOption("--dry-run", dryRun)});
    if (operands.size() < 2 || !problem.empty()) {
        context.err << (problem.empty() ? "relocate needs the old and the new folder" : problem) << "\n";
        return kExitUsage;
    }
    const LoadAccess access = dryRun ? LoadAccess::ReadOnly : LoadAccess::KeepCopies;
    return WithCatalogue(
        context,
        [&](Catalogue& catalogue, CatalogueSource) {
            const std::vector<Relocation> plan = PlanRelocation(catalogue, operands[0], WholeFolder(operands[1]));
            std::size_t missing = 0;
            for (const Relocation& relocation : plan) {
                missing += relocation.Exists ? 0 : 1;
                context.out << RelocationPlace(catalogue, relocation) << '\t' << relocation.OldPath << '\t'
                            << relocation.NewPath << '\t' << (relocation.Exists ? "exists" : "missing") << "\n";
            }
            context.out << plan.size() << (plan.size() == 1 ? " path" : " paths") << " to move, " << missing
                        << " of them missing\n";
            if (dryRun) {
                context.out << "Nothing saved (--dry-run).\n";
                return FlushedOutput(context, kExitOk);
            }
            if (!plan.empty()) {
                ApplyRelocation(catalogue, plan);
                if (int status = SaveCatalogueForCli(context, catalogue))
                    return status;
            }
            return FlushedOutput(context, kExitOk);
        },
        access);
}

} // namespace vorbix::cli
