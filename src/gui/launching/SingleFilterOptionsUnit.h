#pragma once
// The dialog "Filter": one FilterRecord (name, publisher and type criteria, favourite
// condition), edited as a copy that is handed back only on OK.

#include "catalogue/Records.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vorbix {
struct Catalogue;
class Prompts;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class TSingleFilterOptionsForm : public QDialog {
    Q_OBJECT
public:
    // The value drop-downs offer the catalogue's publishers and program types; "&Help"
    // opens its page through shell. The dialog shows no box.
    TSingleFilterOptionsForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell,
        QWidget* parent = nullptr);

    // Shows the record's values; on OK the record as the dialog left it (its comparisons
    // as stored), on Cancel nothing.
    std::optional<FilterRecord> Edit(const FilterRecord& record);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateWidgets();
    void ConnectWidgets();
    void LoadValues(const FilterRecord& record);
    void SaveValues(FilterRecord& record) const;

    void FormShow();
    // Leaving a value drop-down: a text that is none of its entries becomes "any".
    void ValueBoxExit(QComboBox* box);
    void OkButtonClick();
    void HelpButtonClick();

    vorbix::Catalogue& catalogue_;
    vorbix::Prompts& prompts_;
    vorbix::Shell& shell_;

    QLineEdit* NameEdit = nullptr;
    QComboBox* PublisherCompBox = nullptr;
    QComboBox* PublisherBox = nullptr;
    QComboBox* TypeCompBox = nullptr;
    QComboBox* TypeBox = nullptr;
    QCheckBox* FavouriteCheck = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;
};

} // namespace vorbix::gui
