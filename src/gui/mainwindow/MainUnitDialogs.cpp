// TMainForm: the commands that open the other windows (program editor, categories,
// emulators, filters, options, the report dialogs) and what the main window does after
// each of them closes.

#include "mainwindow/MainUnit.h"

#include "catalogue/Catalogue.h"
#include "editing/LinksUnit.h"
#include "editing/ProgramEditing.h"
#include "editing/SingleProgramOptionsUnit.h"
#include "launching/EmuOptionsUnit.h"
#include "launching/FilterOptionsUnit.h"
#include "launching/ImageMasks.h"
#include "launching/OptionsUnit.h"
#include "launching/SingleEmuOptionsUnit.h"
#include "launching/SingleFilterOptionsUnit.h"
#include "mainwindow/ListsUnit.h"
#include "mainwindow/ProgramListView.h"
#include "mainwindow/ProgramTableModel.h"
#include "reports/CompatibilityReportUnit.h"
#include "reports/LinksReportUnit.h"
#include "reports/Main_ReportsUnit.h"
#include "reports/ProgramsReportUnit.h"

namespace vorbix::gui {

void TMainForm::PrepareForms()
{
    singleEmuOptionsForm_->SetImageCaptions(DiskImagesCaption(), DiskImageExtensionsText(), RomImagesCaption());
}

void TMainForm::New1Click()
{
    NewProgram(std::string());
}

void TMainForm::NewProgram(const std::string& path)
{
    const std::optional<ProgramRecord> added =
        RunDialog([&] { return singleProgramOptionsForm_->Edit(NewProgramRecord(path, catalogue_.Publishers)); });
    if (!added)
        return;
    ApplyChange(AddProgram(catalogue_, *added));
}

void TMainForm::Edit1Click()
{
    const int pidx = SelectedPIdx();
    if (pidx < 0)
        return;
    const std::optional<ProgramRecord> edited = RunDialog(
        [&] { return singleProgramOptionsForm_->Edit(catalogue_.ProgramList[static_cast<std::size_t>(pidx)]); });
    if (edited)
        ApplyChange(ReplaceProgram(catalogue_, pidx, *edited));
    RefreshDetails(); // after OK and Cancel alike
}

void TMainForm::Delete1Click()
{
    const int pidx = SelectedPIdx();
    if (pidx < 0)
        return;
    const CatalogueChange change =
        DeleteProgram(catalogue_, prompts_, pidx, ListView1->SelectedRow(), listModel_->rowCount());
    if (!change.Programs)
        return; // answered No
    ApplyChange(change);
}

void TMainForm::Categories1Click()
{
    RunDialog([this] { return listsForm_->exec(); });
    ApplyChange(listsForm_->TakeChange()); // the program list is not rebuilt
}

void TMainForm::Emulators1Click()
{
    RunDialog([this] { return emuOptionsForm_->exec(); });
    CatalogueChange change = emuOptionsForm_->TakeChange();
    change.Emulators = true; // the after-close steps run whatever the dialog did
    ApplyChange(change);
}

void TMainForm::Filters1Click()
{
    RunDialog([this] { return filterOptionsForm_->exec(); });
    CatalogueChange change = filterOptionsForm_->TakeChange();
    change.Filters = true;
    ApplyChange(change);
}

void TMainForm::Options1Click()
{
    RunDialog([this] { return optionsForm_->exec(); });
}

namespace {

// Generates the report when its dialog closed with OK; a file that cannot be written is
// shown as an error.
template <typename Options, typename Generate>
void RunReport(const std::optional<Options>& options, Generate generate, Prompts& prompts)
{
    if (!options)
        return;
    if (const Status generated = generate(*options); !generated)
        prompts.ShowError(generated.Message());
}

} // namespace

void TMainForm::ProgramsReport1Click()
{
    RunDialog([this] {
        RunReport(
            programsReportForm_->Ask(),
            [this](const ProgramsReportOptions& options) {
                return GenerateProgramsReport(catalogue_, options, prompts_, shell_);
            },
            prompts_);
    });
}

void TMainForm::CompatibilityReport1Click()
{
    RunDialog([this] {
        RunReport(
            compatibilityReportForm_->Ask(),
            [this](const CompatibilityReportOptions& options) {
                return GenerateCompatibilityReport(catalogue_, options, prompts_, shell_);
            },
            prompts_);
    });
}

void TMainForm::LinksReport1Click()
{
    RunDialog([this] {
        RunReport(
            linksReportForm_->Ask(),
            [this](const LinksReportOptions& options) {
                return GenerateLinksReport(catalogue_, options, prompts_, shell_);
            },
            prompts_);
    });
}

} // namespace vorbix::gui
