#include "reports/ReportDialogParts.h"

#include "browsing/SelectorEntries.h"
#include "mainwindow/TextBytes.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace vorbix::gui {

namespace {

// Wide enough for a filter name of this many characters at the platform's font; longer
// names scroll in the box rather than widen the dialog from one showing to the next.
constexpr int kFilterNameLength = 24;
constexpr int kButtonWidth = 75;

} // namespace

void OrderGroup::Load(ReportOrder order) const
{
    (order == ReportOrder::Publisher ? RadioButton1 : RadioButton2)->setChecked(true);
}

ReportOrder OrderGroup::Value() const
{
    return RadioButton2->isChecked() ? ReportOrder::Program : ReportOrder::Publisher;
}

OrderGroup MakeOrderGroup(QWidget* parent)
{
    OrderGroup group;
    group.Box = new QGroupBox(QStringLiteral("Order by"), parent);
    group.Box->setObjectName("OrderGroup");
    group.RadioButton1 = new QRadioButton(QStringLiteral("Publisher"), group.Box);
    group.RadioButton1->setObjectName("RadioButton1");
    group.RadioButton2 = new QRadioButton(QStringLiteral("Program"), group.Box);
    group.RadioButton2->setObjectName("RadioButton2");
    auto* layout = new QHBoxLayout(group.Box);
    layout->addWidget(group.RadioButton1);
    layout->addWidget(group.RadioButton2);
    layout->addStretch();
    return group;
}

void FilterGroup::Load(const std::vector<FilterRecord>& filterList, const std::string& text) const
{
    SetEntries(ComboBox1, FilterSelectorEntries(filterList));
    SetText(ComboBox1, text);
}

std::string FilterGroup::Value() const
{
    return Text(ComboBox1);
}

FilterGroup MakeFilterGroup(QWidget* parent, const char* caption)
{
    FilterGroup group;
    group.Box = new QGroupBox(QString::fromUtf8(caption), parent);
    group.Box->setObjectName("FilterGroup");
    group.ComboBox1 = new QComboBox(group.Box);
    group.ComboBox1->setObjectName("ComboBox1");
    group.ComboBox1->setEditable(true);
    group.ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    // The text goes to the filter lookup as typed, which compares exactly: without a
    // completer nothing completes a typed name, and leaving the box picks only the entry
    // whose text is exactly the one typed (so that it gives that entry's bytes), never one
    // that matches ignoring case.
    group.ComboBox1->setCompleter(nullptr);
    group.ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    group.ComboBox1->setMinimumContentsLength(kFilterNameLength);
    auto* layout = new QHBoxLayout(group.Box);
    layout->addWidget(group.ComboBox1);
    return group;
}

QPushButton* MakeRowButton(QDialog* dialog, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), dialog);
    button->setObjectName(name);
    button->setMinimumWidth(kButtonWidth);
    return button;
}

OkCancelRow MakeOkCancelRow(QDialog* dialog, std::initializer_list<QPushButton*> leading)
{
    OkCancelRow row;
    row.Layout = new QHBoxLayout;
    for (QPushButton* button : leading)
        row.Layout->addWidget(button);
    row.Layout->addStretch();
    row.BitBtn1 = MakeRowButton(dialog, "BitBtn1", "OK");
    row.BitBtn1->setDefault(true);
    row.BitBtn2 = MakeRowButton(dialog, "BitBtn2", "Cancel");
    row.Layout->addWidget(row.BitBtn1);
    row.Layout->addWidget(row.BitBtn2);
    return row;
}

void OkCancelRow::Connect(QDialog* dialog) const
{
    QObject::connect(BitBtn1, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(BitBtn2, &QPushButton::clicked, dialog, &QDialog::reject);
}

void FixDialog(QDialog* dialog, const char* caption, QBoxLayout* layout)
{
    dialog->setWindowTitle(QString::fromUtf8(caption));
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog->setLayout(layout);
    layout->activate();
}

bool RunCentred(QDialog* dialog)
{
    // Centred on the desktop, not over whichever window the dialog belongs to.
    if (const QScreen* screen = dialog->screen())
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
    return dialog->exec() == QDialog::Accepted;
}

} // namespace vorbix::gui
