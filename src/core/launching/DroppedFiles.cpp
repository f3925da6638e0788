#include "launching/DroppedFiles.h"

#include "catalogue/Utilities.h"
#include "host/Prompts.h"
#include "launching/ImageMasks.h"
#include "platform/FileSystem.h"

namespace vorbix {

namespace {

// Runs the dropped image; whatever the launch's outcome, the user may then add it.
void DropImage(const std::string& path, const DropInput& input, const Catalogue& catalogue, Prompts& prompts,
    Shell& shell, FileWriter& writer, DropResult& result)
{
    LaunchInput launch;
    launch.SelectorText = input.SelectorText;
    launch.SelectorEntries = input.SelectorEntries;
    launch.Mode = LaunchMode::DroppedFile;
    launch.DroppedFile = path;
    launch.SelectedPIdx = input.SelectedPIdx;
    result.Launch = LaunchProgram(launch, catalogue, prompts, shell, writer);
    result.Launched = true;
    if (catalogue.Options.AskAddToList && prompts.Confirm("Add " + FileNamePart(path) + " to the list?")) {
        result.OpenProgramEditor = true;
        result.NewProgramPath = path;
    }
}

void DropPicture(const std::string& path, const DropInput& input, const Catalogue& catalogue, Prompts& prompts,
    FileWriter& writer, DropResult& result)
{
    const int pidx = input.SelectedPIdx;
    const bool selected = pidx >= 0 && static_cast<std::size_t>(pidx) < catalogue.ProgramList.size();
    if (input.ShownTab == DetailsTab::Information || input.ShownTab == DetailsTab::Disc || !selected) {
        prompts.ShowErrorBox("Make sure a program is selected as well as the Picture tab sheet or the "
                             "Box Cover tab before dropping a JPEG file");
        return;
    }
    const ProgramRecord& program = catalogue.ProgramList[static_cast<std::size_t>(pidx)];
    // The picture goes in the image's folder, which only a full path names: a relative name
    // would be taken in whatever folder the window runs in, which the user never chose (a
    // bare file name's picture would even go to the root), and a path written on Windows
    // names no folder here.
    if (!IsFullPath(program.FileUrl)) {
        prompts.ShowErrorBox(program.ProgramName + " has no image file, so its picture has no place to go.");
        return;
    }
    const bool picture = input.ShownTab == DetailsTab::Picture;
    // A file handed over was chosen before the window's selection was known to anyone.
    if (input.Origin == DropOrigin::Handed
        && !prompts.ConfirmDestructive(
            "Use " + path + " as the " + (picture ? "picture" : "box cover") + " of " + program.ProgramName + "?"))
        return;
    const std::string destination = picture ? PictureFileFor(program.FileUrl) : BoxCoverFileFor(program.FileUrl);
    if (FileExists(destination) && !prompts.ConfirmDestructive("Overwrite file " + destination + "?"))
        return;
    if (Status copied = CopyPictureFile(path, destination, writer); !copied) {
        prompts.ShowErrorBox(copied.Message());
        return;
    }
    result.RefreshDetails = true;
}

} // namespace

// The path is used whole: a path longer than the window's drop buffer is not cut short,
// since a shortened path would name another file.
DropResult HandleDroppedFiles(const DropInput& input, const Catalogue& catalogue, Prompts& prompts, Shell& shell,
    FileWriter& writer)
{
    DropResult result;
    if (input.Files.empty())
        return result;
    const std::string& path = input.Files.front();
    const std::string ext = UpperExtension(path);
    if (IsDiskExtension(ext) || IsRomExtension(ext))
        DropImage(path, input, catalogue, prompts, shell, writer, result);
    else if (ext == ".JPG")
        DropPicture(path, input, catalogue, prompts, writer, result);
    else
        RefuseDrop(prompts);
    return result;
}

// Shown directly, not as the window's error box, so the program list's Enter key does not
// wait after it.
void RefuseDrop(Prompts& prompts)
{
    prompts.ShowMessageBox({"Error", "Only disk/rom images and JPEG pictures can be dropped", MessageIcon::Stop,
        MessageButtons::Ok, true});
}

} // namespace vorbix
