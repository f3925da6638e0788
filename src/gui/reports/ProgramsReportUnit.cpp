#include "reports/ProgramsReportUnit.h"

#include "catalogue/Catalogue.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vorbix::gui {

TProgramsReportForm::TProgramsReportForm(Catalogue& catalogue, QWidget* parent) : QDialog(parent), catalogue_(catalogue)
{
    setObjectName("ProgramsReportForm");
    CreateWidgets();
    ConnectWidgets();
}

void TProgramsReportForm::CreateWidgets()
{
    // Created in reading order, which is the Tab order.
    order_ = MakeOrderGroup(this);
    filter_ = MakeFilterGroup(this, "Filter");

    auto* include = new QGroupBox(QStringLiteral("Include"), this);
    include->setObjectName("IncludeGroup");
    auto* includeLayout = new QVBoxLayout(include);
    QCheckBox** const boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4};
    const char* const captions[] = {"Type", "Information", "Emulator warnings", "Links"};
    for (int i = 0; i < 4; ++i) {
        *boxes[i] = new QCheckBox(QString::fromUtf8(captions[i]), include);
        (*boxes[i])->setObjectName(QString(QStringLiteral("CheckBox%1")).arg(i + 1));
        includeLayout->addWidget(*boxes[i]);
    }

    buttons_ = MakeOkCancelRow(this);

    auto* layout = new QVBoxLayout;
    layout->addWidget(order_.Box);
    layout->addWidget(filter_.Box);
    layout->addWidget(include);
    layout->addLayout(buttons_.Layout);
    FixDialog(this, "Programs Report", layout);
}

void TProgramsReportForm::ConnectWidgets()
{
    buttons_.Connect(this);
}

void TProgramsReportForm::LoadValues(const ProgramsReportOptions& options)
{
    order_.Load(options.Order);
    filter_.Load(catalogue_.FilterList, options.FilterName);
    CheckBox1->setChecked(options.IncludeType);
    CheckBox2->setChecked(options.IncludeInformation);
    CheckBox3->setChecked(options.IncludeWarnings);
    CheckBox4->setChecked(options.IncludeLinks);
}

void TProgramsReportForm::SaveValues(ProgramsReportOptions& options) const
{
    options.Order = order_.Value();
    options.FilterName = filter_.Value();
    options.IncludeType = CheckBox1->isChecked();
    options.IncludeInformation = CheckBox2->isChecked();
    options.IncludeWarnings = CheckBox3->isChecked();
    options.IncludeLinks = CheckBox4->isChecked();
}

std::optional<ProgramsReportOptions> TProgramsReportForm::Ask()
{
    // Nothing is remembered between uses: every showing starts from the defaults.
    LoadValues(ProgramsReportOptions{});
    order_.RadioButton1->setFocus();
    if (!RunCentred(this))
        return std::nullopt;
    ProgramsReportOptions options;
    SaveValues(options);
    return options;
}

} // namespace vorbix::gui
