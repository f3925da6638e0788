// TMainForm: bringing a collection in (Add Folder) and moving a catalogue.

#include "mainwindow/MainUnit.h"

#include "catalogue/Catalogue.h"
#include "collection/AddFolderUnit.h"
#include "collection/MoveCatalogueUnit.h"
#include "collection/Relocate.h"
#include "mainwindow/ProgramListView.h"

namespace vorbix::gui {

void TMainForm::AddFolder1Click()
{
    const std::optional<std::string> folder =
        RunDialog([this] { return prompts_.ChooseFolder({catalogue_.LastProgramDir}); });
    if (folder)
        AddFolder(*folder);
}

void TMainForm::AddFolder(const std::string& folder)
{
    const std::optional<std::vector<FolderProposal>> proposals =
        RunDialog([&] { return addFolderForm_->Preview(folder); });
    if (!proposals)
        return;
    ApplyChange(AddProposals(catalogue_, *proposals));
}

void TMainForm::MoveCatalogue1Click()
{
    const std::optional<std::vector<Relocation>> plan = RunDialog([this] { return moveCatalogueForm_->Ask(); });
    if (!plan)
        return;
    CatalogueChange change = ApplyRelocation(catalogue_, *plan);
    // The pictures and the details follow the programs' new paths; the selection stays.
    change.RebuildProgramList = true;
    change.RevealPIdx = SelectedPIdx();
    ApplyChange(change);
}

} // namespace vorbix::gui
