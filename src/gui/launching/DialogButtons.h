#pragma once
// The button row of the single-record dialogs: "OK" (the default button), "Cancel" and
// "&Help", right-aligned. What each button does is the dialog's own.

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace vorbix::gui {

struct DialogButtons {
    QPushButton* Ok;
    QPushButton* Cancel;
    QPushButton* Help;
    QHBoxLayout* Row; // for the dialog's layout
};

DialogButtons CreateDialogButtons(QDialog* dialog);

} // namespace vorbix::gui
