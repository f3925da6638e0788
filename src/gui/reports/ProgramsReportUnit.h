#pragma once
// The options dialog of the programs report: order, filter and what to include.

#include "reports/ReportDialogParts.h"
#include "reports/ReportOptions.h"

#include <QDialog>

#include <optional>

class QCheckBox;

namespace vorbix {
struct Catalogue;
} // namespace vorbix

namespace vorbix::gui {

class TProgramsReportForm : public QDialog {
    Q_OBJECT
public:
    explicit TProgramsReportForm(vorbix::Catalogue& catalogue, QWidget* parent = nullptr);

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
