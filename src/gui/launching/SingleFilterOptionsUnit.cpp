#include "launching/SingleFilterOptionsUnit.h"

#include "catalogue/Catalogue.h"
#include "editing/FilterEditing.h"
#include "launching/DialogButtons.h"
#include "mainwindow/HelpPages.h"
#include "mainwindow/TextBytes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vorbix::gui {

namespace {

constexpr int kComparisonWidth = 56;
constexpr int kValueWidth = 170;

// A drop-down that takes typed text as it is typed: no completion, no entry added on
// Enter, and no switch to an entry that matches the typed text ignoring case when the box
// is left (what counts as an entry is decided by the dialog, keeping the typed case).
QComboBox* TypedDropDown(const char* name, int width, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setFixedWidth(width);
    QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    return box;
}

// Opening the drop-down's own list, or switching to another window, is no leaving: the
// focus comes back to the box.
bool LostFocus(const QEvent* event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

FavouriteCondition ConditionOf(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked: return FavouriteCondition::fcFalse;
    case Qt::Checked: return FavouriteCondition::fcTrue;
    case Qt::PartiallyChecked: break;
    }
    return FavouriteCondition::fcDontCare;
}

Qt::CheckState StateOf(FavouriteCondition condition)
{
    switch (condition) {
    case FavouriteCondition::fcFalse: return Qt::Unchecked;
    case FavouriteCondition::fcTrue: return Qt::Checked;
    case FavouriteCondition::fcDontCare: break;
    }
    return Qt::PartiallyChecked;
}

} // namespace

TSingleFilterOptionsForm::TSingleFilterOptionsForm(Catalogue& catalogue, Prompts& prompts, Shell& shell,
    QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      catalogue_(catalogue), prompts_(prompts), shell_(shell)
{
    setObjectName("SingleFilterOptionsForm");
    setWindowTitle(QStringLiteral("Filter"));
    CreateWidgets();
    ConnectWidgets();
    setFixedSize(sizeHint());
}

// The controls are created in reading order, which is the order Tab moves the focus in.
void TSingleFilterOptionsForm::CreateWidgets()
{
    auto* nameGroup = new QGroupBox(QStringLiteral("Name"), this);
    NameEdit = new QLineEdit(nameGroup);
    NameEdit->setObjectName("NameEdit");
    NameEdit->setFixedWidth(kComparisonWidth + kValueWidth + 6);
    auto* nameLabel = PlainLabel(QStringLiteral("Name"), nameGroup);
    nameLabel->setBuddy(NameEdit);

    auto* filterGroup = new QGroupBox(QStringLiteral("Filter"), this);
    PublisherCompBox = TypedDropDown("PublisherCompBox", kComparisonWidth, filterGroup);
    PublisherBox = TypedDropDown("PublisherBox", kValueWidth, filterGroup);
    TypeCompBox = TypedDropDown("TypeCompBox", kComparisonWidth, filterGroup);
    TypeBox = TypedDropDown("TypeBox", kValueWidth, filterGroup);
    for (QComboBox* comparison : {PublisherCompBox, TypeCompBox})
        SetEntries(comparison, {"=", "<>"});
    FavouriteCheck = new QCheckBox(filterGroup);
    FavouriteCheck->setObjectName("FavouriteCheck");
    FavouriteCheck->setTristate(true);
    auto* publisherLabel = PlainLabel(QStringLiteral("Publisher"), filterGroup);
    publisherLabel->setBuddy(PublisherCompBox);
    auto* typeLabel = PlainLabel(QStringLiteral("Type"), filterGroup);
    typeLabel->setBuddy(TypeCompBox);
    auto* favouriteLabel = PlainLabel(QStringLiteral("Favourite"), filterGroup);
    favouriteLabel->setBuddy(FavouriteCheck);
    auto* equals = PlainLabel(QStringLiteral("="), filterGroup);
    equals->setObjectName("FavouriteCompLabel");
    equals->setAlignment(Qt::AlignCenter);

    // The two sections' captions share one width, so that the name box lines up with the
    // drop-downs.
    auto* names = new QGridLayout(nameGroup);
    names->addWidget(nameLabel, 0, 0);
    names->addWidget(NameEdit, 0, 1);
    auto* criteria = new QGridLayout(filterGroup);
    criteria->addWidget(publisherLabel, 0, 0);
    criteria->addWidget(PublisherCompBox, 0, 1);
    criteria->addWidget(PublisherBox, 0, 2);
    criteria->addWidget(typeLabel, 1, 0);
    criteria->addWidget(TypeCompBox, 1, 1);
    criteria->addWidget(TypeBox, 1, 2);
    criteria->addWidget(favouriteLabel, 2, 0);
    criteria->addWidget(equals, 2, 1);
    criteria->addWidget(FavouriteCheck, 2, 2);
    const int labelWidth = std::max({nameLabel->sizeHint().width(), publisherLabel->sizeHint().width(),
        typeLabel->sizeHint().width(), favouriteLabel->sizeHint().width()});
    names->setColumnMinimumWidth(0, labelWidth);
    criteria->setColumnMinimumWidth(0, labelWidth);

    const DialogButtons buttons = CreateDialogButtons(this);
    OkButton = buttons.Ok;
    CancelButton = buttons.Cancel;
    HelpButton = buttons.Help;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameGroup);
    layout->addWidget(filterGroup);
    layout->addLayout(buttons.Row);
}

void TSingleFilterOptionsForm::ConnectWidgets()
{
    connect(OkButton, &QPushButton::clicked, this, &TSingleFilterOptionsForm::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TSingleFilterOptionsForm::HelpButtonClick);
    for (QComboBox* box : {PublisherBox, TypeBox}) {
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
    }
}

std::optional<FilterRecord> TSingleFilterOptionsForm::Edit(const FilterRecord& record)
{
    FilterRecord edited = record;
    LoadValues(edited);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    SaveValues(edited);
    return edited;
}

void TSingleFilterOptionsForm::LoadValues(const FilterRecord& record)
{
    NameEdit->setText(ShownText(record.FilterName));
    SetText(PublisherCompBox, record.FPubComp);
    SetText(PublisherBox, record.FPublisher);
    SetText(TypeCompBox, record.FTypeComp);
    SetText(TypeBox, record.FType);
    FavouriteCheck->setCheckState(StateOf(record.FFavourite));
}

// The drop-downs give back the bytes they were given or picked; a name the user did not
// change keeps its bytes.
void TSingleFilterOptionsForm::SaveValues(FilterRecord& record) const
{
    record.FilterName = EditedText(NameEdit->text(), record.FilterName);
    record.FPubComp = StoredComparison(Text(PublisherCompBox));
    record.FPublisher = Text(PublisherBox);
    record.FTypeComp = StoredComparison(Text(TypeCompBox));
    record.FType = Text(TypeBox);
    record.FFavourite = ConditionOf(FavouriteCheck->checkState());
}

void TSingleFilterOptionsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

// The entries follow the category lists as they are now; the texts stay as Edit set them.
void TSingleFilterOptionsForm::FormShow()
{
    SetEntries(PublisherBox, FilterValueEntries(catalogue_.Publishers));
    SetEntries(TypeBox, FilterValueEntries(catalogue_.ProgramTypes));
    NameEdit->setFocus();
}

bool TSingleFilterOptionsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (LostFocus(event)) {
        for (QComboBox* box : {PublisherBox, TypeBox})
            if (watched == box || watched == box->lineEdit())
                ValueBoxExit(box);
    }
    return QDialog::eventFilter(watched, event);
}

void TSingleFilterOptionsForm::ValueBoxExit(QComboBox* box)
{
    const std::string checked = CheckFilterValue(Entries(box), Text(box));
    if (checked != Text(box))
        SetText(box, checked);
}

// OK leaves the box that has the focus: a value typed and confirmed with Enter is checked
// as if the focus had moved on. The other value box is not checked again; it was checked
// when it was left, or it still holds the record's value, so that a filter naming a
// publisher since removed from the categories keeps it through an edit of its name.
void TSingleFilterOptionsForm::OkButtonClick()
{
    for (QComboBox* box : {PublisherBox, TypeBox})
        if (box->hasFocus())
            ValueBoxExit(box);
    accept();
}

void TSingleFilterOptionsForm::HelpButtonClick()
{
    OpenHelpPage(shell_, prompts_, catalogue_, "FILTERS.HTM");
}

} // namespace vorbix::gui
