#pragma once
// TMoveCatalogueForm: moving a catalogue. "&From" is the folder the paths begin with (the
// programs' common folder to start with), "&To" the folder they now lie in; "&Show Changes"
// lists every path the move rewrites with whether its new path exists, and "&Move" asks the
// window to make those changes.

#include "collection/Relocate.h"

#include <QDialog>

#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vorbix {
struct Catalogue;
class Prompts;
} // namespace vorbix

namespace vorbix::gui {

class TMoveCatalogueForm : public QDialog {
    Q_OBJECT
public:
    TMoveCatalogueForm(Catalogue& catalogue, Prompts& prompts, QWidget* parent = nullptr);

    // Shows the dialog; the changes to make on "&Move", empty on Cancel.
    std::optional<std::vector<Relocation>> Ask();

private:
    void CreateWidgets();
    void CreateTable();
    void LayOut();
    void BrowseButtonClick();
    void ShowChanges();
    void MoveButtonClick();

    Catalogue& catalogue_;
    Prompts& prompts_;
    std::vector<Relocation> plan_;

    QLineEdit* FromEdit = nullptr;
    QLineEdit* ToEdit = nullptr;
    QPushButton* BrowseButton = nullptr;
    QPushButton* ShowButton = nullptr;
    QTableWidget* Table = nullptr;
    QLabel* Summary = nullptr;
    QPushButton* MoveButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

} // namespace vorbix::gui
