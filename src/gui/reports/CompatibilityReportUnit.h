#pragma once
// The options dialog of the compatibility report: order and filter.

#include "reports/ReportDialogParts.h"
#include "reports/ReportOptions.h"

#include <QDialog>

#include <optional>

namespace vorbix {
struct Catalogue;
} // namespace vorbix

namespace vorbix::gui {

class TCompatibilityReportForm : public QDialog {
    Q_OBJECT
public:
    explicit TCompatibilityReportForm(vorbix::Catalogue& catalogue, QWidget* parent = nullptr);

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
