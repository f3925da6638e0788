#pragma once
// The small window "Saving data..." that stands while the catalogue is written at exit.

#include <QDialog>

namespace vorbix::gui {

class TExitForm : public QDialog {
    Q_OBJECT
public:
    explicit TExitForm(QWidget* parent = nullptr);

    // Shows the window centred on the desktop and paints it at once (the save that follows
    // does not return to the event loop).
    void ShowNow();
};

} // namespace vorbix::gui
