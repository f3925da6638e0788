#pragma once
// The categories window: the publishers and the program types, each with its list, a field
// for a new name, "Add" and "Delete". The lists show the catalogue's Publishers and
// ProgramTypes, and every change goes into them at once; there is no Cancel.

#include "editing/CatalogueChange.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vorbix {
struct Catalogue;
class NameList;
class Prompts;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class CategoryListView;

class TListsForm : public QDialog {
    Q_OBJECT
public:
    // The help page opens through shell. The window asks nothing: refusals are silent.
    TListsForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell, QWidget* parent = nullptr);

    // Categories is set when an entry was added or deleted since the last call; the call
    // starts counting afresh.
    vorbix::CatalogueChange TakeChange();

    // Each section's "Delete" is enabled exactly while its list has a selected entry; the
    // "Add" buttons always are.
    void UpdateCategoryButtons();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One of the two sections: the category list it edits and its controls.
    struct Section {
        vorbix::NameList* names = nullptr;
        CategoryListView* list = nullptr;
        QLineEdit* edit = nullptr;
        QPushButton* add = nullptr;
        QPushButton* remove = nullptr;
    };

    void CreateWidgets();
    void CreateSection(Section& section, int top, const char* caption, const char* listName, const char* editName,
        const char* addName, const char* deleteName);
    void ConnectWidgets();
    void ConnectSection(Section& section);
    void LoadValues();
    void FormShow();

    void AddName(Section& section);
    void DeleteName(Section& section);
    void ListKeyUp(Section& section, int key);
    void FillList(const Section& section);
    void RevealListRow(const Section& section, int row);
    void HelpClick();

    vorbix::Catalogue& catalogue_;
    vorbix::Prompts& prompts_;
    vorbix::Shell& shell_;
    Section publishers_;
    Section types_;
    QPushButton* CloseButton = nullptr;
    QPushButton* HelpButton = nullptr;
    vorbix::CatalogueChange change_;
};

} // namespace vorbix::gui
