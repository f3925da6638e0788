#include "reports/LinksReportUnit.h"

#include "catalogue/Catalogue.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace vorbix::gui {

namespace {

// The groups of test boxes, each a run of LinksTest values, shown two boxes to a row.
struct TestGroup {
    const char* name;
    const char* caption;
    LinksTest first;
    LinksTest last;
};

constexpr TestGroup kTestGroups[] = {
    {"FileLinksGroup", "Test broken file links", LinksTest::BrokenProgs, LinksTest::BrokenHyLinks},
    {"AttributesGroup", "Test program attributes", LinksTest::ProgsNoPubs, LinksTest::ProgsNoBoxCovers},
    {"CategoriesGroup", "Test categories", LinksTest::UnusedPublishers, LinksTest::UnusedTypes},
    {"FiltersGroup", "Test filters", LinksTest::FiltersNoPubs, LinksTest::FiltersNoTypes},
};

} // namespace

TLinksReportForm::TLinksReportForm(Catalogue& catalogue, QWidget* parent) : QDialog(parent), catalogue_(catalogue)
{
    setObjectName("LinksReportForm");
    CreateWidgets();
    ConnectWidgets();
}

void TLinksReportForm::CreateWidgets()
{
    // Created in reading order, which is the Tab order: the boxes of a group row by row.
    auto* layout = new QVBoxLayout;
    std::vector<QGridLayout*> grids;
    int firstColumnWidth = 0;
    for (const TestGroup& group : kTestGroups) {
        auto* box = new QGroupBox(QString::fromUtf8(group.caption), this);
        box->setObjectName(group.name);
        auto* grid = new QGridLayout(box);
        for (auto i = static_cast<std::size_t>(group.first); i <= static_cast<std::size_t>(group.last); ++i) {
            const LinksTestNames& names = NamesOf(static_cast<LinksTest>(i));
            tests_[i] = new QCheckBox(QString::fromUtf8(names.Caption), box);
            tests_[i]->setObjectName(names.ControlName);
            const auto place = static_cast<int>(i - static_cast<std::size_t>(group.first));
            grid->addWidget(tests_[i], place / 2, place % 2);
            if (place % 2 == 0)
                firstColumnWidth = std::max(firstColumnWidth, tests_[i]->sizeHint().width());
        }
        grids.push_back(grid);
        layout->addWidget(box);
    }
    // The second column of every group starts at the same place.
    for (QGridLayout* grid : grids)
        grid->setColumnMinimumWidth(0, firstColumnWidth);
    filter_ = MakeFilterGroup(this, "Filter (for file links and program attributes)");
    layout->addWidget(filter_.Box);

    SelectBtn = MakeRowButton(this, "SelectBtn", "&Select all");
    DeselectBtn = MakeRowButton(this, "DeselectBtn", "&Deselect all");
    buttons_ = MakeOkCancelRow(this, {SelectBtn, DeselectBtn});
    layout->addLayout(buttons_.Layout);
    FixDialog(this, "Links Report", layout);
}

void TLinksReportForm::ConnectWidgets()
{
    connect(SelectBtn, &QPushButton::clicked, this, [this] { CheckAll(true); });
    connect(DeselectBtn, &QPushButton::clicked, this, [this] { CheckAll(false); });
    buttons_.Connect(this);
}

void TLinksReportForm::CheckAll(bool checked)
{
    for (QCheckBox* box : tests_)
        box->setChecked(checked);
}

void TLinksReportForm::LoadValues(const LinksReportOptions& options)
{
    for (std::size_t i = 0; i < kLinksTestCount; ++i)
        tests_[i]->setChecked(options.Tests[i]);
    filter_.Load(catalogue_.FilterList, options.FilterName);
}

void TLinksReportForm::SaveValues(LinksReportOptions& options) const
{
    for (std::size_t i = 0; i < kLinksTestCount; ++i)
        options.Tests[i] = tests_[i]->isChecked();
    options.FilterName = filter_.Value();
}

std::optional<LinksReportOptions> TLinksReportForm::Ask()
{
    // Every showing starts from the defaults, the focus on "Broken program links".
    LoadValues(LinksReportOptions{});
    tests_[static_cast<std::size_t>(LinksTest::BrokenProgs)]->setFocus();
    if (!RunCentred(this))
        return std::nullopt;
    LinksReportOptions options;
    SaveValues(options);
    return options;
}

} // namespace vorbix::gui
