#include "mainwindow/DetailsPanel.h"

#include "host/Prompts.h"
#include "mainwindow/Pictures.h"
#include "mainwindow/TextBytes.h"
#include "mainwindow/VirtualKeys.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace vorbix::gui {
namespace {

constexpr int kPictureWidth = 375;
constexpr int kPictureHeight = 300;
constexpr int kUrlRole = Qt::UserRole;

QPlainTextEdit* CreateTextBox(QWidget* parent, const char* name, int top, int height)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setGeometry(0, top, 376, height);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
}

QImage PictureOf(const QLabel* label)
{
    return label->pixmap().isNull() ? QImage() : label->pixmap().toImage();
}

} // namespace

DetailsPanel::DetailsPanel(QWidget* parent) : QTabWidget(parent)
{
    setObjectName("PageControl1");
    addTab(CreatePictureTab(), QStringLiteral("Picture"));
    addTab(CreateBoxCoverTab(), QStringLiteral("Box cover"));
    addTab(CreateInformationTab(), QStringLiteral("Information"));
    addTab(CreateDiscTab(), QStringLiteral("Disc"));
    ApplyColours();
    connect(this, &QTabWidget::currentChanged, this, [this] { ShowDisc(); });
}

QWidget* DetailsPanel::CreatePictureTab()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");
    Image1 = new QLabel(page);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, kPictureWidth, kPictureHeight);
    Image1->setScaledContents(true);
    Image1->setTextFormat(Qt::PlainText);
    return page;
}

QWidget* DetailsPanel::CreateBoxCoverTab()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet2");
    Image2 = new QLabel(page);
    Image2->setObjectName("Image2");
    Image2->setGeometry(0, 0, kPictureWidth, kPictureHeight);
    Image2->setAlignment(Qt::AlignCenter); // a larger cover is centred and cut off at the edges
    Image2->setTextFormat(Qt::PlainText);
    return page;
}

QWidget* DetailsPanel::CreateInformationTab()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet3");
    Memo1 = CreateTextBox(page, "Memo1", 0, 101);
    Memo2 = CreateTextBox(page, "Memo2", 105, 66);
    ListView2 = CreateLinkColumn(page, "ListView2", 0);
    ListView3 = CreateLinkColumn(page, "ListView3", 191);
    return page;
}

// The listing is laid out in columns, so it is drawn in the system's fixed-width font.
QWidget* DetailsPanel::CreateDiscTab()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet4");
    Memo3 = CreateTextBox(page, "Memo3", 0, kPictureHeight);
    Memo3->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return page;
}

QListWidget* DetailsPanel::CreateLinkColumn(QWidget* parent, const char* name, int left)
{
    auto* column = new QListWidget(parent);
    column->setObjectName(name);
    column->setGeometry(left, 175, 185, 124);
    column->setFrameShape(QFrame::NoFrame);
    column->setSelectionMode(QAbstractItemView::SingleSelection);
    column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font = column->font();
    font.setUnderline(true);
    column->setFont(font);
    column->viewport()->setCursor(Qt::PointingHandCursor);
    column->viewport()->installEventFilter(this);
    column->installEventFilter(this); // Enter and Space on the focused entry
    return column;
}

// The boxes stand on the window's colour, and the links have the theme's link colour, so
// that a dark theme shows them as well as a light one; set again when the theme changes.
void DetailsPanel::ApplyColours()
{
    const QPalette theme = palette();
    for (QWidget* box : {static_cast<QWidget*>(Memo1), static_cast<QWidget*>(Memo2), static_cast<QWidget*>(Memo3)}) {
        QPalette colours = theme;
        colours.setColor(QPalette::Base, theme.color(QPalette::Window));
        box->setPalette(colours);
    }
    for (QListWidget* column : {ListView2, ListView3}) {
        QPalette colours = theme;
        colours.setColor(QPalette::Text, theme.color(QPalette::Link));
        colours.setColor(QPalette::Base, theme.color(QPalette::Window));
        column->setPalette(colours);
    }
}

void DetailsPanel::changeEvent(QEvent* event)
{
    QTabWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && Memo1 != nullptr)
        ApplyColours();
}

bool DetailsPanel::eventFilter(QObject* watched, QEvent* event)
{
    // A link that has the keyboard focus opens with Enter or Space, as a click opens it.
    if ((watched == ListView2 || watched == ListView3) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const QListWidgetItem* item = static_cast<QListWidget*>(watched)->currentItem();
        if (OpensFocusedLink(key) && item != nullptr) {
            const QByteArray url = item->data(kUrlRole).toByteArray();
            emit LinkClicked(true, std::string(url.constData(), static_cast<std::size_t>(url.size())));
            return true;
        }
    }
    const bool left = watched == ListView2->viewport();
    // Only the left button follows a link, as only it clicks.
    if ((left || watched == ListView3->viewport()) && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QListWidget* column = left ? ListView2 : ListView3;
        const QListWidgetItem* item = column->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (item) {
            column->setCurrentItem(const_cast<QListWidgetItem*>(item));
            const QByteArray url = item->data(kUrlRole).toByteArray();
            emit LinkClicked(true, std::string(url.constData(), static_cast<std::size_t>(url.size())));
        } else {
            emit LinkClicked(false, {});
        }
        return true;
    }
    return QTabWidget::eventFilter(watched, event);
}

void DetailsPanel::ShowDetails(const ProgramDetails& details, Prompts& prompts)
{
    ShowPicture(details, prompts);
    ShowBoxCover(details, prompts);
    FillLines(Memo1, details.CommentLines);
    FillLines(Memo2, details.WarningLines);
    FillLinks(ListView2, details.LeftLinks);
    FillLinks(ListView3, details.RightLinks);
    discDetails_ = details;
    discShown_ = false;
    ShowDisc();
}

// Reads the image when the Disc tab shows and has not shown these details yet.
void DetailsPanel::ShowDisc()
{
    if (ShownTab() != DetailsTab::Disc || discShown_)
        return;
    discShown_ = true;
    FillLines(Memo3, DiscTabLines(discDetails_));
}

void DetailsPanel::ShowPicture(const ProgramDetails& details, Prompts& prompts)
{
    Image1->clear();
    showsPlaceholder_ = details.ShowPlaceholderPicture();
    if (showsPlaceholder_) {
        Image1->setPixmap(QPixmap::fromImage(PlaceholderPicture()));
        return;
    }
    if (!details.HasProgram || !details.PictureExists)
        return;
    const QImage picture = LoadJpegFile(details.PictureFile);
    if (picture.isNull())
        prompts.ShowMessage("Error loading file " + details.PictureFile);
    else
        Image1->setPixmap(QPixmap::fromImage(picture));
}

void DetailsPanel::ShowBoxCover(const ProgramDetails& details, Prompts& prompts)
{
    Image2->clear();
    if (!details.HasProgram || !details.BoxCoverExists)
        return;
    const QImage cover = LoadJpegFile(details.BoxCoverFile);
    if (cover.isNull())
        prompts.ShowMessage("Error loading file " + details.BoxCoverFile);
    else
        Image2->setPixmap(QPixmap::fromImage(cover));
}

void DetailsPanel::FillLines(QPlainTextEdit* box, const StringList& lines)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines)
        texts << ShownText(line);
    box->setPlainText(texts.join(u'\n'));
    box->moveCursor(QTextCursor::Start); // the first line shows
}

void DetailsPanel::FillLinks(QListWidget* column, const std::vector<DetailsLink>& links)
{
    column->clear();
    for (const auto& link : links) {
        auto* item = new QListWidgetItem(ShownText(link.Name), column);
        item->setData(kUrlRole, QByteArray(link.Url.data(), static_cast<qsizetype>(link.Url.size())));
    }
}

QImage DetailsPanel::Picture() const
{
    return PictureOf(Image1);
}

QImage DetailsPanel::BoxCover() const
{
    return PictureOf(Image2);
}

} // namespace vorbix::gui
