#pragma once
// The options dialog of the programs report: order, filter and what to include.

#include "reports/ReportDialogParts.h"
#include "reports/ReportOptions.h"

#include <QDialog>

#include <optional>

class QCheckBox;

namespace vorbix {
struct Catalogue;
class Prompts;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class TProgramsReportForm : public QDialog {
    Q_OBJECT
public:
    // The dialog shows no box and opens nothing; prompts and shell are taken as every
    // dialog of the window takes them.
    TProgramsReportForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell,
        QWidget* parent = nullptr);

    // Shows the dialog modally from the defaults, with the filter names of the moment;
    // the choices on OK, nothing on Cancel.
    std::optional<ProgramsReportOptions> Ask();

private:
    void CreateWidgets();
    void ConnectWidgets();
    void LoadValues(const ProgramsReportOptions& options);
    void SaveValues(ProgramsReportOptions& options) const;

    const vorbix::Catalogue& catalogue_;
    OrderGroup order_;
    FilterGroup filter_;
    QCheckBox* CheckBox1 = nullptr; // "Type"
    QCheckBox* CheckBox2 = nullptr; // "Information"
    QCheckBox* CheckBox3 = nullptr; // "Emulator warnings"
    QCheckBox* CheckBox4 = nullptr; // "Links"
    OkCancelRow buttons_;
};

} // namespace vorbix::gui
