#pragma once
// The link dialog: the display name and the file of one document link of a program.

#include "editing/LinkEditing.h"

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vorbix {
struct Catalogue;
class Prompts;
} // namespace vorbix

namespace vorbix::gui {

class TLinksForm : public QDialog {
    Q_OBJECT
public:
    // The chooser remembers its folder in the catalogue's LastDocDir; the refusals of "OK"
    // are shown through prompts.
    TLinksForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, QWidget* parent = nullptr);

    // Shows the link modally; the link as edited on "OK", nothing on "Cancel".
    std::optional<vorbix::DocLink> Edit(const vorbix::DocLink& link);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateWidgets();
    void ConnectWidgets();
    void LoadValues(const vorbix::DocLink& link);
    void SaveValues(vorbix::DocLink& link) const;

    void BrowseButton1Click();
    void BitBtn1Click();
    void ShowFile(const std::string& path);

    vorbix::Catalogue& catalogue_;
    vorbix::Prompts& prompts_;
    // The link as loaded, whose bytes an untouched name keeps, and the file's bytes (the
    // box shows them but cannot be typed in).
    vorbix::DocLink loaded_;
    std::string file_;

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* BrowseButton1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

} // namespace vorbix::gui
