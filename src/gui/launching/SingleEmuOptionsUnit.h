#pragma once
// The dialog "Emulator Options": one EmuRecord on three tabs ("Emulator", "Disk/rom images",
// "DFS handling"), edited as a copy that is handed back only on OK.

#include "catalogue/Records.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QTabWidget;

namespace vorbix {
struct Catalogue;
class Prompts;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class TSingleEmuOptionsForm : public QDialog {
    Q_OBJECT
public:
    // The choosers go through prompts and update the catalogue's LastEmuDir; "&Help" opens
    // its page through shell.
    TSingleEmuOptionsForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell,
        QWidget* parent = nullptr);

    // Shows the record's values; on OK the record as the dialog left it, on Cancel nothing.
    std::optional<EmuRecord> Edit(const EmuRecord& record);

    // The next showing opens the "Preset..." menu as soon as the dialog stands: the way in of
    // a first start's "Set up an emulator...".
    void OpenPresetMenuOnNextShow() { presetMenuOnShow_ = true; }

    // The captions of the two image sections and the disk extensions shown beside the disk
    // image file name, set once at start-up.
    void SetImageCaptions(const std::string& diskCaption, const std::string& diskExtensions,
        const std::string& romCaption);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct TextField {
        QLineEdit* box;
        std::string EmuRecord::*field;
    };
    struct FlagField {
        QCheckBox* box;
        bool EmuRecord::*field;
    };

    void CreateWidgets();
    QWidget* CreateEmulatorTab();
    QGroupBox* CreateRunGroup(QWidget* page);
    QWidget* CreateImagesTab();
    QWidget* CreateDfsTab();
    void ConnectWidgets();
    void LoadValues(const EmuRecord& record);
    void SaveValues(EmuRecord& record) const;

    void FormShow();
    void FileNameButtonClick();
    void WorkingDirButtonClick(QLineEdit* box);
    void RomsCfgClick(QCheckBox* clicked, bool checked);
    void ApplyDfsRule();
    void PresetMenuClick(const std::string& name);
    void TestButtonClick();
    void HelpButtonClick();

    QLineEdit* AddTextBox(QWidget* parent, const char* name, std::string EmuRecord::*field);
    QLineEdit* AddPathBox(QWidget* parent, const char* name, std::string EmuRecord::*field);
    QCheckBox* AddCheckBox(QWidget* parent, const char* name, const char* caption, bool EmuRecord::*field);

    vorbix::Catalogue& catalogue_;
    vorbix::Prompts& prompts_;
    vorbix::Shell& shell_;
    // The record Edit was given: what the boxes are read back against.
    EmuRecord editing_;

    // Boxes the user types in, boxes filled by a chooser (their bytes kept as chosen),
    // and check boxes, each with its field.
    std::vector<TextField> textFields_;
    std::vector<TextField> pathFields_;
    std::vector<FlagField> flagFields_;

    // The controls the dialog acts on; the other boxes are known through their fields.
    QTabWidget* PageControl1 = nullptr;
    QLineEdit* NameEdit = nullptr;
    QLineEdit* FileNameEdit = nullptr;
    QPushButton* FileNameButton = nullptr;
    QGroupBox* DiskImagesGroup = nullptr;
    QLineEdit* DiskWorkingDirEdit = nullptr;
    QPushButton* DiskWorkingDirButton = nullptr;
    QLineEdit* DiskExtensionsEdit = nullptr;
    QGroupBox* RomImagesGroup = nullptr;
    QLineEdit* RomWorkingDirEdit = nullptr;
    QPushButton* RomWorkingDirButton = nullptr;
    QCheckBox* RomsCfgModelBCheck = nullptr;
    QCheckBox* RomsCfgMaster128Check = nullptr;
    QGroupBox* DfsGroup = nullptr;
    QCheckBox* HandleDfsCheck = nullptr;
    std::vector<QWidget*> dfsNameControls_; // the two name boxes with their captions and notes
    QPushButton* PresetButton = nullptr;
    bool presetMenuOnShow_ = false;
    QTimer* presetMenuTimer_ = nullptr;
    QMenu* PresetMenu = nullptr;
    QPushButton* TestButton = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;
};

} // namespace vorbix::gui
