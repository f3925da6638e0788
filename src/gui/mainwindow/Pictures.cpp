#include "mainwindow/Pictures.h"

#include "platform/JpegDecoder.h"

#include <QFile>
#include <QFont>
#include <QPainter>

namespace vorbix::gui {
namespace {

QImage ToQImage(const Result<RgbImage>& decoded)
{
    if (!decoded)
        return {};
    const RgbImage& rgb = decoded.Value();
    QImage view(rgb.Pixels.data(), rgb.Width, rgb.Height, qsizetype{rgb.Width} * 3, QImage::Format_RGB888);
    return view.copy(); // the decoder's buffer goes away with the result
}

} // namespace

QImage LoadJpegFile(const std::string& path)
{
    return ToQImage(DecodeJpegFile(path));
}

QImage LoadJpegResource(const QString& resourcePath)
{
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return ToQImage(
        DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

QImage PlaceholderPicture()
{
    static const QImage picture = [] {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::Monospace);
        font.setPixelSize(16);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(16, 16, 380, 280), Qt::AlignLeft | Qt::AlignTop,
            QStringLiteral("BBC Computer 32K\n\nAcorn DFS\n\nBASIC\n\n>"));
        painter.fillRect(30, 149, 10, 3, Qt::white); // the cursor after the prompt
        return image;
    }();
    return picture;
}

} // namespace vorbix::gui
