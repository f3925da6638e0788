#pragma once
// The options dialog of the compatibility report: order and filter.

#include "reports/ReportDialogParts.h"
#include "reports/ReportOptions.h"

#include <QDialog>

#include <optional>

namespace vorbix {
struct Catalogue;
class Prompts;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class TCompatibilityReportForm : public QDialog {
    Q_OBJECT
public:
    // The dialog shows no box and opens nothing; prompts and shell are taken as every
    // dialog of the window takes them.
    TCompatibilityReportForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell,
        QWidget* parent = nullptr);

    // Shows the dialog modally from the defaults, with the filter names of the moment;
    // the choices on OK, nothing on Cancel.
    std::optional<CompatibilityReportOptions> Ask();

private:
    void CreateWidgets();
    void ConnectWidgets();
    void LoadValues(const CompatibilityReportOptions& options);
    void SaveValues(CompatibilityReportOptions& options) const;

    const vorbix::Catalogue& catalogue_;
    OrderGroup order_;
    FilterGroup filter_;
    OkCancelRow buttons_;
};

} // namespace vorbix::gui
