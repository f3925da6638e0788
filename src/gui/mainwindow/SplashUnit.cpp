#include "mainwindow/SplashUnit.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "host/Shell.h"
#include "mainwindow/Pictures.h"
#include "mainwindow/TextBytes.h"
#include "mainwindow/VirtualKeys.h"
#include "platform/FileSystem.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <filesystem>

namespace vorbix::gui {

namespace {

std::uint32_t Read32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// Whether the head of a file of fileSize bytes is that of a complete WAVE file: "RIFF",
// "WAVE", a format chunk and a data chunk that ends within the file. Qt's decoder waits
// for ever for the rest of a file cut short, and the About window would then stay silent
// while the exit waits for the loading.
bool LooksLikeCompleteWave(const std::string& head, std::uintmax_t fileSize)
{
    if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "WAVE") != 0)
        return false;
    bool format = false;
    for (std::size_t at = 12; at + 8 <= head.size();) {
        const std::uint32_t size = Read32(head, at + 4);
        const std::uintmax_t end = at + 8 + static_cast<std::uintmax_t>(size);
        if (head.compare(at, 4, "fmt ") == 0)
            format = size >= 16 && end <= head.size();
        else if (head.compare(at, 4, "data") == 0)
            return format && end <= fileSize;
        at = static_cast<std::size_t>(end + (size & 1)); // chunks are padded to an even size
        if (end > head.size())
            break;
    }
    return false;
}

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

TSplashForm::~TSplashForm()
{
    ReleaseSound();
}

void TSplashForm::ReleaseSound()
{
    if (!sound_)
        return;
    sound_->stop();
    // A sound of a few megabytes loads in milliseconds; one that takes longer than this is
    // let go as it is rather than hold the exit.
    constexpr int kLoadingWaitMs = 3000;
    if (sound_->status() == QSoundEffect::Loading) {
        QEventLoop loop;
        connect(sound_.get(), &QSoundEffect::statusChanged, &loop, &QEventLoop::quit);
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(kLoadingWaitMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    sound_.reset();
}

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
    // Tab reaches the links, which then open with Enter or Space; a dotted frame shows which.
    link->setFocusPolicy(Qt::TabFocus);
    link->setStyleSheet(QStringLiteral("QLabel { color: white; background: black; border: 1px solid black; }"
                                       "QLabel:focus { border: 1px dotted white; }"));
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
    // Only a complete WAVE file of a jingle's size is played: a FIFO would hold the loading
    // thread for ever, and a huge or cut file would still be loading when the window ends.
    constexpr std::uintmax_t kLargestSound = 16u << 20;
    constexpr std::size_t kHeadBytes = 4096;
    std::error_code ec;
    if (!vorbix::IsRegularFile(path))
        return;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kLargestSound)
        return;
    QFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::ReadOnly) || !LooksLikeCompleteWave(file.read(kHeadBytes).toStdString(), size))
        return;
    file.close();
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
    if (event->type() == QEvent::KeyPress && (watched == Label4 || watched == Label5)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (OpensFocusedLink(key)) {
            LinkClick(static_cast<QLabel*>(watched));
            return true;
        }
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
