// The program editor's widgets: the two pages, the buttons and the reading order.

#include "editing/SingleProgramOptionsUnit.h"

#include "mainwindow/TextBytes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vorbix::gui {

namespace {

QComboBox* NewDropDown(const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    // Leaving the box, or Enter in it, with a text that names an entry in another letter
    // case would make QComboBox pick that entry; the text stays as typed.
    QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    QObject::disconnect(box->lineEdit(), &QLineEdit::returnPressed, box, nullptr);
    return box;
}

QLabel* NewCaption(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* label = PlainLabel(QString::fromUtf8(text), parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

void TSingleProgramOptionsForm::CreateWidgets()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(CreateGeneralPage(), QStringLiteral("General"));
    PageControl1->addTab(CreateInformationPage(), QStringLiteral("Information"));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName("CancelButton");
    HelpButton = new QPushButton(QStringLiteral("&Help"), this);
    HelpButton->setObjectName("HelpButton");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    CreateTabOrder();
}

QWidget* TSingleProgramOptionsForm::CreateGeneralPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");

    auto* identification = new QGroupBox(QStringLiteral("Identification"), page);
    Edit1 = new QLineEdit(identification);
    Edit1->setObjectName("Edit1");
    Edit2 = new QLineEdit(identification);
    Edit2->setObjectName("Edit2");
    Edit2->setReadOnly(true);
    BrowseButton1 = new QPushButton(QStringLiteral("..."), identification);
    BrowseButton1->setObjectName("BrowseButton1");
    BrowseButton1->setFixedWidth(BrowseButton1->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    ComboBox1 = NewDropDown("ComboBox1", identification);
    ComboBox2 = NewDropDown("ComboBox2", identification);

    auto* fields = new QGridLayout(identification);
    fields->addWidget(NewCaption("Name", Edit1, identification), 0, 0);
    fields->addWidget(Edit1, 0, 1, 1, 2);
    fields->addWidget(NewCaption("File Name", Edit2, identification), 1, 0);
    fields->addWidget(Edit2, 1, 1);
    fields->addWidget(BrowseButton1, 1, 2);
    fields->addWidget(NewCaption("Publisher", ComboBox1, identification), 2, 0);
    fields->addWidget(ComboBox1, 2, 1, 1, 2);
    fields->addWidget(NewCaption("Type", ComboBox2, identification), 3, 0);
    fields->addWidget(ComboBox2, 3, 1, 1, 2);
    fields->setColumnStretch(1, 1);

    auto* other = new QGroupBox(QStringLiteral("Other"), page);
    CheckBox1 = new QCheckBox(QStringLiteral("Favourite"), other);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox2 = new QCheckBox(QStringLiteral("E00 DFS"), other);
    CheckBox2->setObjectName("CheckBox2");
    auto* marks = new QHBoxLayout(other);
    marks->addWidget(CheckBox1);
    marks->addSpacing(24);
    marks->addWidget(CheckBox2);
    marks->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(identification);
    layout->addWidget(other);
    layout->addStretch();
    return page;
}

QWidget* TSingleProgramOptionsForm::CreateInformationPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet2");

    auto* information = new QGroupBox(QStringLiteral("General information"), page);
    Memo1 = new QPlainTextEdit(information);
    Memo1->setObjectName("Memo1");
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Lines wrap between words; a word wider than the box is broken where the box ends.
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab moves on to the next control; a comment holds no tab characters typed here.
    Memo1->setTabChangesFocus(true);
    // A permanent scroll bar keeps the wrapping width, and so the stored lines, the same
    // however many lines the box holds.
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 5 + 12);
    (new QVBoxLayout(information))->addWidget(Memo1);

    auto* warnings = new QGroupBox(QStringLiteral("Emulator compatibility warnings"), page);
    ComboBox3 = NewDropDown("ComboBox3", warnings);
    ComboBox3->setFixedWidth(130);
    Edit3 = new QLineEdit(warnings);
    Edit3->setObjectName("Edit3");
    auto* warningRow = new QHBoxLayout(warnings);
    warningRow->addWidget(ComboBox3);
    warningRow->addWidget(Edit3, 1);

    QGroupBox* links = CreateLinksBox(page);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(information);
    layout->addWidget(warnings);
    layout->addWidget(links);
    layout->addStretch();
    return page;
}

QGroupBox* TSingleProgramOptionsForm::CreateLinksBox(QWidget* page)
{
    auto* links = new QGroupBox(QStringLiteral("Links"), page);
    ListView1 = new QTreeWidget(links);
    ListView1->setObjectName("ListView1");
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Directory")});
    // The path column is there for the rows' paths, not to be seen.
    ListView1->setColumnHidden(1, true);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setSectionsMovable(false);
    ListView1->setFixedHeight(ListView1->fontMetrics().lineSpacing() * 8 + 8);

    NewLinkButton = new QPushButton(QStringLiteral("&New"), links);
    NewLinkButton->setObjectName("NewLinkButton");
    EditLinkButton = new QPushButton(QStringLiteral("&Edit"), links);
    EditLinkButton->setObjectName("EditLinkButton");
    DeleteLinkButton = new QPushButton(QStringLiteral("&Delete"), links);
    DeleteLinkButton->setObjectName("DeleteLinkButton");
    UpLinkButton = new QToolButton(links);
    UpLinkButton->setObjectName("UpLinkButton");
    UpLinkButton->setArrowType(Qt::UpArrow);
    UpLinkButton->setAccessibleName(QStringLiteral("Up"));
    DownLinkButton = new QToolButton(links);
    DownLinkButton->setObjectName("DownLinkButton");
    DownLinkButton->setArrowType(Qt::DownArrow);
    DownLinkButton->setAccessibleName(QStringLiteral("Down"));
    for (QToolButton* arrow : {UpLinkButton, DownLinkButton})
        arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    SortLinkButton = new QPushButton(QStringLiteral("&Sort"), links);
    SortLinkButton->setObjectName("SortLinkButton");
    for (QPushButton* button : {NewLinkButton, EditLinkButton, DeleteLinkButton, SortLinkButton})
        button->setAutoDefault(false);

    auto* arrows = new QHBoxLayout;
    arrows->addWidget(UpLinkButton);
    arrows->addWidget(DownLinkButton);
    auto* linkButtons = new QVBoxLayout;
    linkButtons->addWidget(NewLinkButton);
    linkButtons->addWidget(EditLinkButton);
    linkButtons->addWidget(DeleteLinkButton);
    linkButtons->addLayout(arrows);
    linkButtons->addWidget(SortLinkButton);
    linkButtons->addStretch();
    auto* linkRow = new QHBoxLayout(links);
    linkRow->addWidget(ListView1, 1);
    linkRow->addLayout(linkButtons);
    return links;
}

void TSingleProgramOptionsForm::CreateTabOrder()
{
    // Reading order on each page, then the buttons below the pages.
    const QWidget* const order[] = {PageControl1, Edit1, Edit2, BrowseButton1, ComboBox1, ComboBox2, CheckBox1,
        CheckBox2, Memo1, ComboBox3, Edit3, ListView1, NewLinkButton, EditLinkButton, DeleteLinkButton, UpLinkButton,
        DownLinkButton, SortLinkButton, OKButton, CancelButton, HelpButton};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

} // namespace vorbix::gui
