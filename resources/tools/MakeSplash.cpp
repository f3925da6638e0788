// Draws the about window's 400 x 300 picture: a banner with the name "Vorbix" across the
// top and a BBC Micro on a dark background below, leaving the text area on the right free.
// Usage: vorbix_make_splash OUTPUT.jpg

#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

void DrawBanner(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, 80);
    sky.setColorAt(0, QColor(150, 20, 20));
    sky.setColorAt(1, QColor(60, 0, 0));
    p.fillRect(0, 0, 400, 80, sky);
    p.fillRect(0, 78, 400, 3, QColor(230, 190, 60));
    QFont font("DejaVu Serif", 40, QFont::Bold);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColor(40, 0, 0));
    p.drawText(QRect(4, 4, 400, 76), Qt::AlignCenter, "Vorbix");
    p.setPen(QColor(255, 230, 120));
    p.drawText(QRect(0, 0, 400, 76), Qt::AlignCenter, "Vorbix");
}

void DrawKeyboard(QPainter& p, QRectF body)
{
    const double keyW = body.width() / 16.0;
    for (int row = 0; row < 4; ++row) {
        const double indent = row * keyW * 0.35;
        for (int col = 0; col < 14; ++col) {
            QRectF key(body.left() + 8 + indent + col * keyW, body.top() + 20 + row * 15, keyW - 2, 12);
            const bool red = row == 0 && col < 10;
            p.fillRect(key, red ? QColor(200, 40, 30) : QColor(60, 55, 50));
        }
    }
    p.fillRect(QRectF(body.left() + 40, body.top() + 82, body.width() * 0.5, 10), QColor(60, 55, 50));
}

void DrawComputer(QPainter& p)
{
    QLinearGradient floor(0, 81, 0, 300);
    floor.setColorAt(0, QColor(10, 10, 20));
    floor.setColorAt(1, QColor(30, 30, 45));
    p.fillRect(0, 81, 400, 219, floor);

    // The monitor, its screen glowing with the start-up text.
    p.setBrush(QColor(70, 65, 60));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(20, 98, 170, 120), 8, 8);
    p.fillRect(QRectF(32, 108, 146, 96), Qt::black);
    p.setPen(Qt::white);
    p.setFont(QFont("DejaVu Sans Mono", 7));
    p.drawText(QRectF(38, 112, 140, 90), Qt::AlignLeft | Qt::AlignTop, "BBC Computer 32K\n\nBASIC\n\n>_");

    // The keyboard case: a cream top with a dark key area and the red function keys.
    QPainterPath body;
    body.moveTo(10, 290);
    body.lineTo(30, 232);
    body.lineTo(205, 232);
    body.lineTo(215, 290);
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 215, 185));
    p.drawPath(body);
    DrawKeyboard(p, QRectF(30, 236, 175, 54));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawComputer(painter);
    DrawBanner(painter);
    painter.end();
    return image.save(argv[1], "JPG", 90) ? 0 : 1;
}
