#include "reports/CompatibilityReportUnit.h"

#include "catalogue/Catalogue.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vorbix::gui {

TCompatibilityReportForm::TCompatibilityReportForm(Catalogue& catalogue, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue)
{
    setObjectName("CompatibilityReportForm");
    CreateWidgets();
    ConnectWidgets();
}

void TCompatibilityReportForm::CreateWidgets()
{
    // Created in reading order, which is the Tab order.
    order_ = MakeOrderGroup(this);
    filter_ = MakeFilterGroup(this, "Filter");
    buttons_ = MakeOkCancelRow(this);

    auto* layout = new QVBoxLayout;
    layout->addWidget(order_.Box);
    layout->addWidget(filter_.Box);
    layout->addLayout(buttons_.Layout);
    FixDialog(this, "Compatibility Report", layout);
}

void TCompatibilityReportForm::ConnectWidgets()
{
    buttons_.Connect(this);
}

void TCompatibilityReportForm::LoadValues(const CompatibilityReportOptions& options)
{
    order_.Load(options.Order);
    filter_.Load(catalogue_.FilterList, options.FilterName);
}

void TCompatibilityReportForm::SaveValues(CompatibilityReportOptions& options) const
{
    options.Order = order_.Value();
    options.FilterName = filter_.Value();
}

std::optional<CompatibilityReportOptions> TCompatibilityReportForm::Ask()
{
    // Every showing starts from the defaults.
    LoadValues(CompatibilityReportOptions{});
    order_.RadioButton1->setFocus();
    if (!RunCentred(this))
        return std::nullopt;
    CompatibilityReportOptions options;
    SaveValues(options);
    return options;
}

} // namespace vorbix::gui
