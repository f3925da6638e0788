#pragma once
// The pieces the three report option dialogs share: the "Order by" radio buttons, the
// filter drop-down, the row of buttons under the groups, and how a dialog is fixed in
// size and run.

#include "catalogue/Records.h"
#include "reports/ReportOptions.h"

#include <initializer_list>
#include <string>
#include <vector>

class QBoxLayout;
class QComboBox;
class QDialog;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vorbix::gui {

// "Order by": RadioButton1 "Publisher" and RadioButton2 "Program".
struct OrderGroup {
    QGroupBox* Box = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;

    void Load(ReportOrder order) const;
    ReportOrder Value() const;
};
OrderGroup MakeOrderGroup(QWidget* parent);

// A group holding ComboBox1, the editable drop-down of filter names.
struct FilterGroup {
    QGroupBox* Box = nullptr;
    QComboBox* ComboBox1 = nullptr;

    // The entries "all", then every filter name sorted ignoring case; the text from bytes.
    void Load(const std::vector<FilterRecord>& filterList, const std::string& text) const;
    // The bytes of the text: a picked or given name keeps its own, a typed one is UTF-8.
    std::string Value() const;
};
FilterGroup MakeFilterGroup(QWidget* parent, const char* caption);

// BitBtn1 "OK" (the default button) and BitBtn2 "Cancel", at the right of a row that
// starts with the buttons given; created after them, so that Tab reaches them last.
struct OkCancelRow {
    QBoxLayout* Layout = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // OK accepts the dialog, Cancel rejects it (as Escape does).
    void Connect(QDialog* dialog) const;
};
OkCancelRow MakeOkCancelRow(QDialog* dialog, std::initializer_list<QPushButton*> leading = {});
// A push button of the row, as wide as OK and Cancel at least.
QPushButton* MakeRowButton(QDialog* dialog, const char* name, const char* caption);

// Caption, border and the size the layout needs at the platform's font, fixed.
void FixDialog(QDialog* dialog, const char* caption, QBoxLayout* layout);
// Shows the dialog modally, centred on the desktop; true when it closed with OK.
bool RunCentred(QDialog* dialog);

} // namespace vorbix::gui
