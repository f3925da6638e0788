// TLinksForm: the name and file of one document link.

#include "editing/LinksUnit.h"

#include "catalogue/Catalogue.h"
#include "host/Prompts.h"
#include "mainwindow/TextBytes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorbix::gui {

TLinksForm::TLinksForm(Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      catalogue_(catalogue), prompts_(prompts)
{
    setObjectName("LinksForm");
    setWindowTitle(QStringLiteral("Link"));
    CreateWidgets();
    ConnectWidgets();
    setFixedSize(sizeHint());
}

void TLinksForm::CreateWidgets()
{
    auto* nameLabel = PlainLabel(QStringLiteral("Name"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    nameLabel->setBuddy(Edit1);

    auto* fileLabel = PlainLabel(QStringLiteral("File Name"), this);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName("Edit2");
    Edit2->setReadOnly(true);
    fileLabel->setBuddy(Edit2);
    BrowseButton1 = new QPushButton(QStringLiteral("..."), this);
    BrowseButton1->setObjectName("BrowseButton1");
    BrowseButton1->setFixedWidth(BrowseButton1->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName("BitBtn2");

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(Edit1, 0, 1, 1, 2);
    fields->addWidget(fileLabel, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    fields->addWidget(BrowseButton1, 1, 2);
    fields->setColumnMinimumWidth(1, 280);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, BrowseButton1);
    setTabOrder(BrowseButton1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
}

void TLinksForm::ConnectWidgets()
{
    connect(BrowseButton1, &QPushButton::clicked, this, &TLinksForm::BrowseButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TLinksForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<DocLink> TLinksForm::Edit(const DocLink& link)
{
    LoadValues(link);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    DocLink edited = link;
    SaveValues(edited);
    return edited;
}

void TLinksForm::LoadValues(const DocLink& link)
{
    loaded_ = link;
    Edit1->setText(ShownText(link.Name));
    ShowFile(link.Url);
}

void TLinksForm::SaveValues(DocLink& link) const
{
    link.Name = EditedText(Edit1->text(), loaded_.Name);
    link.Url = file_;
}

void TLinksForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->selectAll();
}

void TLinksForm::ShowFile(const std::string& path)
{
    file_ = path;
    Edit2->setText(ShownText(path));
    Edit2->setCursorPosition(0);
}

void TLinksForm::BrowseButton1Click()
{
    if (const std::optional<std::string> chosen = BrowseLinkFile(prompts_, catalogue_, file_))
        ShowFile(*chosen);
}

void TLinksForm::BitBtn1Click()
{
    // A refused OK leaves the dialog open with what it holds; Cancel and the close box
    // always close it.
    if (LinkOkAccepted(prompts_, EditedText(Edit1->text(), loaded_.Name), file_))
        accept();
}

} // namespace vorbix::gui
