#include "mainwindow/SplashUnit.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "host/Shell.h"
#include "mainwindow/Pictures.h"
#include "mainwindow/TextBytes.h"
#include "platform/FileSystem.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSoundEffect>
#include <QUrl>

namespace vorbix::gui {

namespace {

constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 300;

QString VersionText()
{
    return QStringLiteral("Version ") + QString::fromUtf8(vorbix::kVorbixVersion);
}

} // namespace

TSplashForm::TSplashForm(const std::string& appDir, vorbix::Shell& shell, QWidget* parent)
    : QDialog(parent), appDir_(appDir), shell_(shell)
{
    setObjectName("SplashForm");
    CreateWidgets();
    setFixedSize(kPictureWidth, kPictureHeight);
}

TSplashForm::~TSplashForm() = default;

void TSplashForm::CreateWidgets()
{
    auto* picture = new QLabel(this);
    picture->setObjectName("Image1");
    picture->setTextFormat(Qt::PlainText);
    picture->setGeometry(0, 0, kPictureWidth, kPictureHeight);
    picture->setPixmap(QPixmap::fromImage(vorbix::gui::LoadJpegResource(QStringLiteral(":/Splash.jpg"))));

    AddText("Label1", 224, 106, QStringLiteral("Vorbix"));
    AddText("Label2", 224, 126, VersionText());
    AddText("Label3", 224, 158, QString::fromUtf8(kCredit));
    Label4 = AddLink("Label4", 222, 178, QString::fromUtf8(kWebAddress));
    Label5 = AddLink("Label5", 222, 198, QString::fromUtf8(kMailAddress));
    Label6 = AddText("Label6", 152, 258, QStringLiteral("Loading programs..."));

    BitBtn1 = new QPushButton(QStringLiteral("Close"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(11, 265, 73, 25);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel* TSplashForm::AddText(const char* name, int x, int y, const QString& text)
{
    auto* label = PlainLabel(text, this);
    label->setObjectName(name);
    label->setStyleSheet(QStringLiteral("color: white; background: black;"));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* TSplashForm::AddLink(const char* name, int x, int y, const QString& text)
{
    QLabel* link = AddText(name, x, y, text);
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    link->setCursor(Qt::PointingHandCursor);
    link->setFocusPolicy(Qt::NoFocus);
    link->installEventFilter(this);
    link->adjustSize();
    return link;
}

void TSplashForm::ShowAsSplash()
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    BitBtn1->hide();
    Label4->hide();
    Label5->hide();
    Label6->setText(QStringLiteral("Loading programs..."));
    Label6->adjustSize();
    Label6->show();
    findChild<QLabel*>(QStringLiteral("Label2"))->setText(VersionText());
    setFixedSize(kPictureWidth, kPictureHeight);
}

void TSplashForm::ShowAsAbout()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("About"));
    BitBtn1->show();
    Label4->show();
    Label5->show();
    Label6->hide();
    findChild<QLabel*>(QStringLiteral("Label2"))->setText(VersionText());
    // The client area is the picture; the window manager adds the border and caption.
    setFixedSize(kPictureWidth, kPictureHeight);
    BitBtn1->setFocus();
    PlaySound();
}

void TSplashForm::SetStatusLine(const std::string& text)
{
    Label6->setText(ShownText(text));
    Label6->adjustSize();
    if (isVisible())
        Label6->repaint();
}

void TSplashForm::PlaySound()
{
    const std::string path = appDir_ + "bbc.wav";
    if (!vorbix::FileExists(path))
        return;
    // A new effect for each About, so the sound starts from its beginning even while an
    // earlier playback is still running; without a sound device it simply stays silent.
    sound_ = std::make_unique<QSoundEffect>();
    sound_->setSource(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
    sound_->play();
    ++soundStarts_;
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
        && (watched == Label4 || watched == Label5)) {
        LinkClick(static_cast<QLabel*>(watched));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TSplashForm::LinkClick(QLabel* link)
{
    BitBtn1->setFocus();
    if (link == Label4)
        shell_.Open(kWebAddress);
    else
        shell_.Open(std::string("mailto: ") + kMailAddress);
}

} // namespace vorbix::gui
