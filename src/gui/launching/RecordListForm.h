#pragma once
// What the emulator and the filter list dialogs share: one row per record, sorted by name,
// with the record's index in its store in a hidden second column; "&New", "&Edit" and
// "&Delete" change the catalogue at once, and "Close" only closes. A subclass says how
// the commands reach the core and the single-record dialog.

#include "editing/CatalogueChange.h"
#include "editing/ListRows.h"

#include <QDialog>

#include <optional>
#include <vector>

class QPushButton;
class QStandardItemModel;

namespace vorbix::gui {

class ProgramListView;

class TRecordListForm : public QDialog {
    Q_OBJECT
public:
    // What the commands changed since the dialog was last shown, all of them together;
    // collecting starts again.
    CatalogueChange TakeChange();

    // Edit and Delete are enabled exactly when a row is selected.
    void UpdateListButtons();
    // Scrolls the row into view and selects it; a negative row scrolls to the top and
    // leaves no row selected or focused.
    void RevealListRow(int row);
    // The record of the selected row (its hidden index), or -1.
    int SelectedEIdx() const;

protected:
    TRecordListForm(const char* objectName, const char* caption, QWidget* parent);

    // The store's rows as the list shows them.
    virtual std::vector<ListRow> StoreRows() const = 0;
    // New and Edit show the single-record dialog and apply its values on OK; nothing when
    // it was cancelled.
    virtual std::optional<ListEdit> NewRecord() = 0;
    virtual std::optional<ListEdit> EditRecord(int eidx) = 0;
    virtual ListEdit DeleteRecord(int eidx) = 0;

    void showEvent(QShowEvent* event) override;

private:
    void CreateWidgets();
    void ConnectWidgets();
    // The list's rows; nothing is selected afterwards. Every command has already changed
    // the store, so the dialog has no values to save when it closes.
    void LoadValues(const std::vector<ListRow>& rows);

    void FormShow();
    void NewButtonClick();
    void EditButtonClick();
    void DeleteButtonClick();
    void ListView1DblClick();
    void ListView1KeyUp(int virtualKey);
    void ApplyEdit(const ListEdit& edit);

    ProgramListView* ListView1 = nullptr;
    QStandardItemModel* rows_ = nullptr;
    QPushButton* NewButton = nullptr;
    QPushButton* EditButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* CloseButton = nullptr;
    CatalogueChange change_;
};

} // namespace vorbix::gui
