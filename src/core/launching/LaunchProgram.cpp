#include "launching/LaunchProgram.h"

#include "catalogue/KeptCopies.h"
#include "catalogue/Utilities.h"
#include "host/Prompts.h"
#include "host/Shell.h"
#include "launching/EmulatorArguments.h"
#include "launching/EmulatorEnd.h"
#include "launching/ImageMasks.h"
#include "launching/RomsCfg.h"
#include "launching/WorkingFileGuard.h"
#include "platform/AppDir.h"
#include "platform/Collation.h"
#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"
#include "platform/Reservation.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace vorbix {

namespace {

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

// One run of the sequence with its working values.
class LaunchSequence {
public:
    LaunchSequence(const LaunchInput& input, const Catalogue& catalogue, Prompts& prompts, Shell& shell,
        FileWriter& writer)
        : in_(input), cat_(catalogue), prompts_(prompts), shell_(shell), writer_(writer)
    {}

    LaunchResult Run();

private:
    bool ChooseEmulator();
    bool ChooseProgram();
    void NameTarget();
    bool ReserveWorkingFiles();
    bool RefuseClashes();
    bool ShowWarnings();
    bool PlaceImage();
    bool PrepareDfs();
    void SetVariables();
    int StartEmulator();
    void CannotStart(const std::string& reason);
    bool AfterRunNeeded() const;
    bool WaitForEmulator(int pid);
    void AwaitEmulator(int pid);
    void CopyBackAndCleanUp(bool copyDiskBack);
    std::string KeepWorkingCopy();
    void RestoreDfs();
    void CopyPicture();

    bool NoProgram() const { return in_.Mode == LaunchMode::NoProgram; }
    bool DfsHandled() const { return cat_.DfsRomsPresent && emu_->HandleDfs; }
    std::string EmuFolder() const { return FolderPart(emu_->EmuUrl); }
    std::string WorkingFolder(const std::string& configured) const;
    std::string RomFolder() const { return WorkingFolder(emu_->RomWorkingDir); }
    std::string DiskFolder() const;
    std::string DfsSource(const char* file) const { return cat_.AppFile(file); }
    bool IsDfsSource(const std::string& path) const;
    std::vector<std::pair<std::string, std::string>> DfsWorkingFiles() const;
    std::string ProgramName() const { return record_ != nullptr ? record_->ProgramName : FileNamePart(programFile_); }
    bool WorkingCopyEmptied() const;
    void DeleteDfsRom(const std::string& path) const;
    bool CopyDfsRom(const std::string& source, const std::string& destination) const;
    void RomsCfg(bool insert, bool isDfs, const std::string& romName);
    bool Stop(const std::string& message);
    void Report(const std::string& message);
    bool Decline();

    const LaunchInput& in_;
    const Catalogue& cat_;
    Prompts& prompts_;
    Shell& shell_;
    FileWriter& writer_;
    LaunchResult result_;

    const EmuRecord* emu_ = nullptr;
    const ProgramRecord* record_ = nullptr; // none for a dropped file
    std::string programFile_;
    std::string ext_;
    bool isRom_ = false;
    bool isDisk_ = false;
    std::string targetName_;
    std::string targetExt_;
    std::string targetPath_;
    bool targetIsProgramFile_ = false;
    bool useE00_ = false;
    // The screen picture file as it was before the emulator started: only a picture
    // written since then is this run's.
    FileIdentity pictureBefore_;
    // The working files of this run, reserved until the sequence ends.
    std::vector<Reservation> reservations_;
};

LaunchResult LaunchSequence::Run()
{
    if (!ChooseEmulator())
        return result_;
    if (!NoProgram()
        && !(ChooseProgram() && ReserveWorkingFiles() && RefuseClashes() && ShowWarnings() && PlaceImage()
            && PrepareDfs()))
        return result_;
    SetVariables();
    if (cat_.Options.CopyPicture)
        pictureBefore_ = StatFile(cat_.Options.PictureUrl);
    const int pid = StartEmulator();
    if (pid == 0)
        return result_;
    if (NoProgram() || !AfterRunNeeded()) {
        if (in_.WaitForEmulatorExit && pid > 0)
            AwaitEmulator(pid);
        else if (pid > 0)
            result_.UnwatchedPid = pid;
        result_.EmulatorName = emu_->EmuName;
        return result_;
    }
    if (!WaitForEmulator(pid))
        return result_;
    CopyBackAndCleanUp(cat_.Options.CopyDiskBack);
    RestoreDfs();
    if (cat_.Options.CopyPicture)
        CopyPicture();
    return result_;
}

bool LaunchSequence::Stop(const std::string& message)
{
    prompts_.ShowErrorBox(message);
    result_.Outcome = LaunchOutcome::Stopped;
    return false;
}

// A failed step after which the launch goes on.
void LaunchSequence::Report(const std::string& message)
{
    prompts_.ShowErrorBox(message);
    result_.StepFailed = true;
}

bool LaunchSequence::Decline()
{
    result_.Outcome = LaunchOutcome::Declined;
    return false;
}

// Steps 1 to 3: the selector's text must be one of its entries (ignoring case), and then
// name an emulator exactly; of several with that name the last one counts.
bool LaunchSequence::ChooseEmulator()
{
    const std::string& text = in_.SelectorText;
    const auto& entries = in_.SelectorEntries;
    if (!IsEntryIgnoringCase(entries, text)) {
        result_.ClearSelectorText = true;
        result_.UpdateCommandStates = true;
        return Stop("No emulator selected");
    }
    for (const EmuRecord& emu : cat_.EmuList)
        if (emu.EmuName == text)
            emu_ = &emu;
    if (emu_ == nullptr)
        return Stop("Cannot find emulator " + text);
    if (!FileExists(emu_->EmuUrl))
        return Stop("Cannot find emulator file " + emu_->EmuUrl);
    return true;
}

// Steps 5 to 7, then where the image goes (steps 10 and 11), which the reservation needs.
// A PIdx outside the catalogue counts as no selection.
bool LaunchSequence::ChooseProgram()
{
    if (in_.Mode == LaunchMode::DroppedFile) {
        programFile_ = in_.DroppedFile;
    } else {
        const int pidx = in_.SelectedPIdx;
        if (pidx < 0 || static_cast<std::size_t>(pidx) >= cat_.ProgramList.size()) {
            result_.UpdateCommandStates = true;
            return Stop("No program selected");
        }
        record_ = &cat_.ProgramList[static_cast<std::size_t>(pidx)];
        programFile_ = record_->FileUrl;
    }
    if (!FileExists(programFile_))
        return Stop("Cannot find program file " + programFile_);
    // A FIFO or a device would hold the copy for ever or never end it.
    if (!IsRegularFile(programFile_))
        return Stop("Cannot open file " + programFile_ + ": not a regular file");
    useE00_ = record_ != nullptr ? record_->E00Dfs : cat_.Options.UseE00Dfs;
    NameTarget();
    return true;
}

// The working files of this run are its own from before the first copy until the sequence
// ends: another run through one of them (from another catalogue, another window, a
// terminal) would copy over the disk this one's emulator is writing, and clean up the
// copy this one still has to bring back. A run that finds one taken is refused before it
// asks or copies anything.
bool LaunchSequence::ReserveWorkingFiles()
{
    std::vector<std::string> files{targetPath_};
    for (const auto& [path, source] : DfsWorkingFiles())
        files.push_back(path);
    const auto started = std::chrono::system_clock::to_time_t(shell_.Now());
    const ReservationNote note{emu_->EmuName, ProgramName(), static_cast<long long>(started)};
    for (const std::string& file : files) {
        Result<Reservation> taken = Reservation::Take(file, note);
        if (!taken)
            return Stop(taken.Message());
        if (!taken.Value().Held()) {
            const ReservationNote& holder = taken.Value().Holder();
            if (!holder.Complete())
                return Stop(emu_->EmuName + " is still running a program with the working file " + file
                    + ". Finish that run first.");
            return Stop(holder.Emulator + " is still running " + holder.Program + " (started at " + holder.StartedAt()
                + "). Finish that run first.");
        }
        reservations_.push_back(std::move(taken).Value());
    }
    return true;
}

// A launch never overwrites or deletes a file of the catalogue through a working file:
// refused before anything is copied. The image's own file in place, and a DFS ROM working
// file that is the very image it is filled from, are never written, so they are no clash.
bool LaunchSequence::RefuseClashes()
{
    std::vector<std::string> files;
    if (!targetIsProgramFile_)
        files.push_back(targetPath_);
    for (const auto& [path, source] : DfsWorkingFiles())
        if (!SameFile(path, source))
            files.push_back(path);
    if (const std::optional<WorkingFileClash> clash = FindWorkingFileClash(cat_, files))
        return Stop(
            "Cannot run " + programFile_ + ": the emulator's working file " + clash->WorkingFile + " " + clash->Reason);
    return true;
}

// The two files of the ROM folder that the DFS swap deletes and fills, each with the DFS
// ROM image it is filled from; none when the emulator's DFS is not handled.
std::vector<std::pair<std::string, std::string>> LaunchSequence::DfsWorkingFiles() const
{
    if (!DfsHandled())
        return {};
    const std::string romFolder = RomFolder();
    return {{romFolder + emu_->DfsName, DfsSource(kDfsRomFile)},
        {romFolder + emu_->E00DfsName, DfsSource(kE00DfsRomFile)}};
}

// Steps 8 and 9.
bool LaunchSequence::ShowWarnings()
{
    const OtherOptions& options = cat_.Options;
    if (options.CompatibilityWarning && record_ != nullptr) {
        const std::size_t count = std::min(record_->EmuWarningEmus.size(), record_->EmuWarningTexts.size());
        for (std::size_t i = 0; i < count; ++i) {
            if (record_->EmuWarningEmus[i] != emu_->EmuName)
                continue;
            const std::string text = record_->ProgramName + ": " + record_->EmuWarningTexts[i] + "\rContinue?";
            if (prompts_.ShowMessageBox(
                    {emu_->EmuName + " Warning", text, MessageIcon::Question, MessageButtons::YesNo, true})
                != MessageAnswer::Yes)
                return Decline();
        }
    }
    if (options.E00DfsWarning && useE00_)
        prompts_.ShowMessageBox({"E00 DFS warning", "Make sure sideways ROM/RAM can be written to",
            MessageIcon::Exclamation, MessageButtons::Ok, true});
    return true;
}

// An empty ROM working folder means the emulator's own folder, where its ROMS.CFG names the
// ROM images; a configured folder is a folder whether or not it was stored with its
// trailing separator.
std::string LaunchSequence::WorkingFolder(const std::string& configured) const
{
    return configured.empty() ? EmuFolder() : IncludeBackslash(configured);
}

// An empty disk working folder means a private folder in the user's cache, not the
// emulator's own folder: on Linux that is a system folder (/usr/games) where the user
// cannot write, shared by every user of the machine.
std::string LaunchSequence::DiskFolder() const
{
    return emu_->DiskWorkingDir.empty() ? CacheWorkFolder() : IncludeBackslash(emu_->DiskWorkingDir);
}

// Steps 10 and 11.
void LaunchSequence::NameTarget()
{
    ext_ = UpperExtension(programFile_);
    isRom_ = IsRomExtension(ext_);
    isDisk_ = IsDiskExtension(ext_);
    targetName_ = isRom_ ? emu_->RomFilename : emu_->DiskFilename;
    targetExt_ = isRom_ ? emu_->RomFileExt : std::string();
    if (!targetExt_.empty() && targetExt_.front() != '.')
        targetExt_.insert(0, 1, '.');
    if (targetName_.empty())
        targetName_ = FileNameNoExt(programFile_);
    if (targetExt_.empty())
        targetExt_ = FileExtension(programFile_);
    targetPath_ = (isRom_ ? RomFolder() : DiskFolder()) + targetName_ + targetExt_;

    // An image that already lies where the emulator expects it is neither copied onto
    // itself nor removed afterwards: it is the catalogue's own file.
    targetIsProgramFile_ = SameFile(programFile_, targetPath_);
}

// Steps 12 and 13.
bool LaunchSequence::PlaceImage()
{
    if (!isRom_ && emu_->DiskWorkingDir.empty())
        if (Status made = MakePrivateFolder(CacheWorkFolder()); !made)
            return Stop(made.Message());
    if (!targetIsProgramFile_ && !CopyFileOverwrite(programFile_, targetPath_, writer_))
        return Stop("Cannot copy file " + programFile_);
    if (isRom_)
        RomsCfg(true, false, targetName_ + targetExt_);
    return true;
}

// A working copy the emulator left empty while the catalogue's image is not: copying it
// back would replace the program with nothing.
bool LaunchSequence::WorkingCopyEmptied() const
{
    std::error_code ec;
    const auto working = std::filesystem::file_size(targetPath_, ec);
    if (ec || working != 0)
        return false;
    const auto original = std::filesystem::file_size(programFile_, ec);
    return !ec && original > 0;
}

// The two DFS ROM images under the application folder are the sources of every DFS swap.
// A ROM working folder that is (or links to) that folder must not lose them: they are
// never deleted, and a copy onto the other image (refused before the run) fails.
bool LaunchSequence::IsDfsSource(const std::string& path) const
{
    return SameFile(path, DfsSource(kDfsRomFile)) || SameFile(path, DfsSource(kE00DfsRomFile));
}

void LaunchSequence::DeleteDfsRom(const std::string& path) const
{
    if (!IsDfsSource(path))
        DeleteFileAt(path);
}

bool LaunchSequence::CopyDfsRom(const std::string& source, const std::string& destination) const
{
    if (SameFile(source, destination))
        return true;
    return !IsDfsSource(destination) && CopyFileOverwrite(source, destination, writer_);
}

// Step 15: the chosen DFS ROM image replaces the other one in the ROM folder and takes
// the first slot.
bool LaunchSequence::PrepareDfs()
{
    if (!DfsHandled())
        return true;
    RomsCfg(false, true, emu_->E00DfsName);
    RomsCfg(false, true, emu_->DfsName);
    const std::string romFolder = RomFolder();
    DeleteDfsRom(romFolder + (useE00_ ? emu_->DfsName : emu_->E00DfsName));
    const std::string source = DfsSource(useE00_ ? kE00DfsRomFile : kDfsRomFile);
    const std::string destinationName = useE00_ ? emu_->E00DfsName : emu_->DfsName;
    if (!CopyDfsRom(source, romFolder + destinationName))
        return Stop("Cannot copy file " + source);
    RomsCfg(true, true, destinationName);
    return true;
}

// Steps 16 and 17. The shell keeps the variables for every later start.
void LaunchSequence::SetVariables()
{
    if (!NoProgram()) {
        if ((ext_ == ".SSD" || ext_ == ".IMG" || ext_ == ".BBC") && !emu_->EnvVarSsName.empty())
            shell_.SetEnvironmentVariable(emu_->EnvVarSsName, emu_->EnvVarSsValue);
        if (ext_ == ".DSD" && !emu_->EnvVarDsName.empty())
            shell_.SetEnvironmentVariable(emu_->EnvVarDsName, emu_->EnvVarDsValue);
    }
    if (!emu_->EnvVarName.empty())
        shell_.SetEnvironmentVariable(emu_->EnvVarName, emu_->EnvVarValue);
}

// Step 18: the emulator's executable is started directly, in its own folder; the command
// line switches become the arguments, with %IMAGE% standing for the placed image. This is
// the one place that starts an executable. Returns the pid of an emulator started
// attached, -1 for one that runs on its own, 0 when it could not be started.
int LaunchSequence::StartEmulator()
{
    const std::string image = NoProgram() ? std::string() : targetPath_;
    const StartResult started = shell_.StartProgram(emu_->EmuUrl, EmuFolder(),
        EmulatorArguments(emu_->CommandLineString, image, BootCommandOfImage(image)));
    if (!started.Succeeded()) {
        CannotStart(started.Reason);
        return 0;
    }
    return started.Pid > 0 ? started.Pid : -1;
}

// An emulator that did not start has written nothing: the working files go as after a
// run, but nothing is copied back and no picture is taken.
void LaunchSequence::CannotStart(const std::string& reason)
{
    std::string message = "Cannot start " + emu_->EmuUrl + ": " + (reason.empty() ? "it could not be run" : reason);
    if (UpperExtension(emu_->EmuUrl) == ".EXE")
        message += ". A Windows emulator runs through Wine: make wine the emulator file and put " + emu_->EmuUrl
            + " first on its command line";
    Stop(message);
    if (NoProgram())
        return;
    CopyBackAndCleanUp(false);
    RestoreDfs();
}

// Step 20: whether any after-run step applies.
bool LaunchSequence::AfterRunNeeded() const
{
    const OtherOptions& options = cat_.Options;
    return (emu_->CleanDiskWorkingDir && isDisk_) || (emu_->CleanRomWorkingDir && isRom_) || (DfsHandled() && useE00_)
        || (options.CopyDiskBack && isDisk_) || options.CopyPicture;
}

// Step 20's box holds the after-run steps until the user says the emulator has finished,
// or, for an emulator set to carry on when it closes, until it has ended. When nobody can
// say so (the terminal's input has ended), the launch waits for the emulator to end; one it
// cannot wait for skips the after-run steps, which would otherwise copy back and clean up
// before the emulator has written anything.
bool LaunchSequence::WaitForEmulator(int pid)
{
    if (in_.WaitForEmulatorExit && pid > 0) {
        AwaitEmulator(pid);
        return true;
    }
    const bool watched = emu_->WaitForExit && pid > 0;
    const bool confirmed = watched
        ? prompts_.PressOkWhileWatchingEmulator([this, pid] { return WatchEmulator(shell_, pid, emu_->EmuName); })
        : prompts_.PressOkAfterRunningEmulator();
    if (confirmed) {
        // An emulator that has ended by now may have failed.
        if (const std::optional<ProcessEnd> end = shell_.ProcessEnded(pid); FailureToTell(end, watched))
            Report(EmulatorFailureMessage(emu_->EmuName, *end));
        return true;
    }
    if (pid <= 0)
        return Stop("Nobody can confirm that " + emu_->EmuName
            + " has finished, and it cannot be waited for: the after-run steps were skipped");
    AwaitEmulator(pid);
    return true;
}

// Waits for the emulator and tells a failure. The after-run steps still follow: the disk it
// wrote before it failed is the user's.
void LaunchSequence::AwaitEmulator(int pid)
{
    const ProcessEnd end = shell_.WaitForExit(pid);
    if (FailureToTell(end, true))
        Report(EmulatorFailureMessage(emu_->EmuName, end));
}

// Steps 21 to 23. When the changed disk could not come back, the working copy is the only
// one: it is moved aside under a name no launch uses, never deleted or copied over.
void LaunchSequence::CopyBackAndCleanUp(bool copyDiskBack)
{
    const bool copyBack = copyDiskBack && isDisk_ && !targetIsProgramFile_;
    bool dealtWith = false; // the working copy is gone, kept aside or reported
    if (copyBack) {
        dealtWith = true;
        if (!PathExists(targetPath_))
            Report("Cannot copy " + targetPath_ + " to " + programFile_ + ": " + targetPath_ + " no longer exists");
        else if (WorkingCopyEmptied())
            Report("The working copy " + targetPath_ + " is empty; " + programFile_ + " was not replaced and "
                + KeepWorkingCopy());
        else if (!CopyFileOverwrite(targetPath_, programFile_, writer_))
            Report("Cannot copy " + targetPath_ + " to " + programFile_ + "; " + KeepWorkingCopy());
        else
            dealtWith = false;
    }
    const bool clean = (emu_->CleanDiskWorkingDir && isDisk_) || (emu_->CleanRomWorkingDir && isRom_);
    if (clean && !targetIsProgramFile_ && !dealtWith) {
        // With the catalogue's image gone (the emulator deleted it), the working copy is
        // the last copy of the program.
        if (!FileExists(programFile_) && PathExists(targetPath_))
            Report(programFile_ + " is missing, so " + KeepWorkingCopy());
        else if (!DeleteFileAt(targetPath_))
            Report("Cannot delete file " + targetPath_);
    }
    if (emu_->CleanRomWorkingDir && isRom_)
        RomsCfg(false, false, targetName_ + targetExt_);
}

// Moves the working copy aside beside itself, as TargetPath.kept-N; returns the end of the
// message that says where it is now.
std::string LaunchSequence::KeepWorkingCopy()
{
    const Result<std::string> aside = MoveAsideBeside(targetPath_, "kept");
    if (!aside)
        return "the working copy could not be moved aside and is left at " + targetPath_;
    return "the working copy was kept as " + aside.Value();
}

// Step 24: the normal DFS ROM image goes back after a run with the E00 DFS.
void LaunchSequence::RestoreDfs()
{
    if (!(DfsHandled() && useE00_))
        return;
    const std::string romFolder = RomFolder();
    DeleteDfsRom(romFolder + emu_->E00DfsName);
    RomsCfg(false, true, emu_->E00DfsName);
    const std::string source = DfsSource(kDfsRomFile);
    const std::string destination = romFolder + emu_->DfsName;
    if (!CopyDfsRom(source, destination))
        Report("Cannot copy file " + source + " to " + destination);
    RomsCfg(true, true, emu_->DfsName);
}

// Step 25: the screen picture the emulator saved becomes the program's picture (a PNG, as
// MAME saves its snapshots, is stored as JPEG). A picture file that nothing wrote since the
// emulator started is an earlier run's (last week's picture of another game), and is left
// where it is.
void LaunchSequence::CopyPicture()
{
    const std::string& source = cat_.Options.PictureUrl;
    if (!FileExists(source)) {
        Stop("Cannot find picture file " + source);
        return;
    }
    if (StatFile(source) == pictureBefore_) {
        prompts_.ShowMessage("The emulator saved no new screen picture");
        return;
    }
    const std::string destination = PictureFileFor(programFile_);
    if (FileExists(destination) && !prompts_.ConfirmDestructive("Overwrite file " + destination + "?")) {
        Decline();
        return;
    }
    if (Status copied = CopyPictureFile(source, destination, writer_); !copied) {
        Stop(copied.Message());
        return;
    }
    result_.RefreshDetails = true;
}

void LaunchSequence::RomsCfg(bool insert, bool isDfs, const std::string& romName)
{
    if (!UpdateRomsCfg(insert, isDfs, emu_->EmuUrl, romName, emu_->ProcessRomsCfgModelB, emu_->ProcessRomsCfgMaster128,
            prompts_, writer_))
        result_.StepFailed = true;
}

} // namespace

bool DfsRomsPresentIn(const Catalogue& catalogue)
{
    return FileExists(catalogue.AppFile(kE00DfsRomFile)) && FileExists(catalogue.AppFile(kDfsRomFile));
}

LaunchResult LaunchProgram(const LaunchInput& input, const Catalogue& catalogue, Prompts& prompts, Shell& shell,
    FileWriter& writer)
{
    return LaunchSequence(input, catalogue, prompts, shell, writer).Run();
}

} // namespace vorbix
