#pragma once
// The options dialog of the links report: which of the twelve tests to run, and the
// filter for the tests of file links and program attributes.

#include "reports/ReportDialogParts.h"
#include "reports/ReportOptions.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QPushButton;

namespace vorbix {
struct Catalogue;
} // namespace vorbix

namespace vorbix::gui {

class TLinksReportForm : public QDialog {
    Q_OBJECT
public:
    explicit TLinksReportForm(vorbix::Catalogue& catalogue, QWidget* parent = nullptr);

    // Shows the dialog modally from the defaults (every test checked), with the filter
    // names of the moment; the choices on OK, nothing on Cancel.
    std::optional<LinksReportOptions> Ask();

private:
    void CreateWidgets();
    void ConnectWidgets();
    void LoadValues(const LinksReportOptions& options);
    void SaveValues(LinksReportOptions& options) const;
    // "&Select all" and "&Deselect all".
    void CheckAll(bool checked);

    const vorbix::Catalogue& catalogue_;
    // The test boxes in LinksTest order, named and captioned by NamesOf.
    std::array<QCheckBox*, kLinksTestCount> tests_{};
    FilterGroup filter_;
    QPushButton* SelectBtn = nullptr;
    QPushButton* DeselectBtn = nullptr;
    OkCancelRow buttons_;
};

} // namespace vorbix::gui
