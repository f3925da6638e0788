#pragma once
// TAddFolderForm: the preview of a folder of images to add. One row per image found, with a
// check box, the name, publisher and type (all three editable in place), where the name
// came from, notes ("new publisher", "copy of PROGRAM", the list that matched) and the file;
// "&Lists..." picks the checksum lists to name images by, and "&Add" adds the ticked rows.

#include "collection/FolderScan.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

namespace vorbix {
struct Catalogue;
class Prompts;
} // namespace vorbix

namespace vorbix::gui {

class TAddFolderForm : public QDialog {
    Q_OBJECT
public:
    // The lists offered in "&Lists..." are those of listFolder (MAME's, when installed).
    TAddFolderForm(Catalogue& catalogue, Prompts& prompts, QWidget* parent = nullptr,
        std::string listFolder = "/usr/share/games/mame/hash/");

    // Scans the folder with a progress bar and shows the preview. The proposals as the user
    // left them on "&Add"; empty after Cancel (in the progress or the preview).
    std::optional<std::vector<FolderProposal>> Preview(const std::string& folder);

    // The lists chosen so far (kept for the next folder of the run).
    const std::vector<std::string>& ListFiles() const { return listFiles_; }

private:
    void CreateWidgets();
    bool Scan();
    void Fill();
    void ListsButtonClick();
    void ChooseOtherList();
    void SetLists(const std::vector<std::string>& files);
    void UpdateNotes(int row);
    std::vector<FolderProposal> TakeProposals() const;

    Catalogue& catalogue_;
    Prompts& prompts_;
    std::string listFolder_;
    std::vector<std::string> listFiles_;
    ChecksumLists lists_;
    std::string folder_;
    ScanCatalogue view_;
    FolderScanResult result_;
    bool filling_ = false;

    QTableWidget* Table = nullptr;
    QLabel* Summary = nullptr;
    QPushButton* ListsButton = nullptr;
    QPushButton* AddButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QMenu* ListsMenu = nullptr;
};

} // namespace vorbix::gui
