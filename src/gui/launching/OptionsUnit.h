#pragma once
// The options dialog: the seven general options, each shown and changed in the catalogue
// at once; "Close" only closes.

#include "catalogue/Catalogue.h"

#include <QDialog>

#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorbix {
class Prompts;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    // The picture chooser goes through prompts, the help page through shell.
    TOptionsForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell,
        QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateWidgets();
    QCheckBox* AddOption(QWidget* group, const char* name, const char* caption, bool OtherOptions::*option);
    void ConnectWidgets();
    void LoadValues();
    void FormShow();

    // The source picture's label, box and "..." are enabled exactly while "Copy picture
    // file to program directory " is checked.
    void ApplyPictureRule();
    void PictureButtonClick();
    void HelpClick();

    vorbix::Catalogue& catalogue_;
    vorbix::Prompts& prompts_;
    vorbix::Shell& shell_;
    // Each check box with the option it shows and writes.
    std::vector<std::pair<QCheckBox*, bool OtherOptions::*>> options_;

    QCheckBox* CompatibilityWarningCheck = nullptr;
    QCheckBox* E00DfsWarningCheck = nullptr;
    QCheckBox* CopyDiskBackCheck = nullptr;
    QCheckBox* CopyPictureCheck = nullptr;
    QLabel* PictureLabel = nullptr;
    QLineEdit* PictureEdit = nullptr;
    QPushButton* PictureButton = nullptr;
    QCheckBox* AskAddToListCheck = nullptr;
    QCheckBox* UseE00DfsCheck = nullptr;
    QPushButton* CloseButton = nullptr;
    QPushButton* HelpButton = nullptr;
};

} // namespace vorbix::gui
