#include "mainwindow/CommandIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vorbix::gui {
namespace {

constexpr int kIconSize = 21;

// A rim of this colour around the dark parts of an icon keeps their outline visible on a
// dark theme's toolbar; on a light one it melts into the background.
const QColor kRim(230, 230, 230);

// Strokes the path in the colour over a rim one pixel wider on each side.
void RimmedStroke(QPainter& p, const QPainterPath& path, QColor colour, qreal width)
{
    p.strokePath(path, QPen(kRim, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(path, QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void DrawTriangle(QPainter& p, QColor colour)
{
    QPainterPath path;
    path.moveTo(6, 3);
    path.lineTo(18, 10.5);
    path.lineTo(6, 18);
    path.closeSubpath();
    p.fillPath(path, colour);
    p.setPen(QPen(colour.darker(160), 1));
    p.drawPath(path);
}

void DrawMonitor(QPainter& p)
{
    QPainterPath case_;
    case_.addRect(2, 2, 17, 13);
    case_.addRect(5, 16, 11, 3);
    RimmedStroke(p, case_, QColor(60, 60, 60), 1);
    p.fillRect(3, 3, 16, 12, QColor(205, 200, 185));
    p.fillRect(6, 17, 10, 2, QColor(205, 200, 185));
    p.fillRect(5, 5, 12, 8, QColor(10, 10, 10));
    p.fillRect(6, 6, 6, 1, Qt::white);
    p.fillRect(6, 8, 8, 1, Qt::white);
    p.fillRect(6, 10, 4, 1, Qt::white);
}

void DrawPage(QPainter& p)
{
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(Qt::white);
    p.drawRect(4, 2, 12, 16);
    for (int y = 5; y < 16; y += 3)
        p.drawLine(6, y, 13, y);
}

void DrawPlus(QPainter& p)
{
    p.fillRect(12, 14, 9, 3, QColor(0, 140, 0));
    p.fillRect(15, 11, 3, 9, QColor(0, 140, 0));
}

void DrawPencil(QPainter& p)
{
    p.setPen(QPen(QColor(200, 150, 0), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(8, 17, 18, 7);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawLine(6, 19, 8, 17);
}

void DrawCross(QPainter& p)
{
    p.setPen(QPen(QColor(200, 20, 20), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(11, 11, 19, 19);
    p.drawLine(19, 11, 11, 19);
}

void DrawTags(QPainter& p)
{
    const QColor colours[] = {QColor(220, 60, 40), QColor(40, 120, 210), QColor(240, 190, 30)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(colours[i].darker(150), 1));
        p.setBrush(colours[i]);
        p.drawRoundedRect(2 + i * 2, 3 + i * 5, 15, 5, 2, 2);
    }
}

void DrawChip(QPainter& p)
{
    p.setPen(QPen(QColor(190, 190, 190), 2));
    for (int x = 5; x <= 16; x += 3) {
        p.drawLine(x, 1, x, 5);
        p.drawLine(x, 16, x, 20);
    }
    QPainterPath body;
    body.addRect(3, 5, 15, 11);
    RimmedStroke(p, body, QColor(40, 40, 40), 1);
    p.fillPath(body, QColor(40, 40, 40));
    p.fillRect(5, 7, 3, 3, QColor(220, 220, 220));
    p.fillRect(10, 12, 6, 2, QColor(220, 220, 220));
}

void DrawFunnel(QPainter& p)
{
    QPainterPath path;
    path.moveTo(2, 3);
    path.lineTo(19, 3);
    path.lineTo(12, 11);
    path.lineTo(12, 18);
    path.lineTo(9, 16);
    path.lineTo(9, 11);
    path.closeSubpath();
    RimmedStroke(p, path, QColor(30, 60, 120), 1);
    p.fillPath(path, QColor(70, 130, 220));
}

void DrawCheckBoxes(QPainter& p)
{
    QPainterPath boxes;
    boxes.addRect(2, 2, 8, 8);
    boxes.addRect(2, 11, 8, 8);
    QPainterPath lines;
    lines.moveTo(13, 6);
    lines.lineTo(19, 6);
    lines.moveTo(13, 15);
    lines.lineTo(19, 15);
    RimmedStroke(p, boxes, QColor(60, 60, 60), 1);
    RimmedStroke(p, lines, QColor(60, 60, 60), 2);
    p.fillPath(boxes, Qt::white);
    p.setPen(QPen(QColor(0, 140, 0), 2));
    p.drawLine(3, 6, 5, 8);
    p.drawLine(5, 8, 9, 3);
}

void Draw(QPainter& p, CommandIcon which)
{
    switch (which) {
    case CommandIcon::RunProgram: DrawTriangle(p, QColor(30, 170, 40)); break;
    case CommandIcon::RunEmulator: DrawMonitor(p); break;
    case CommandIcon::NewProgram:
        DrawPage(p);
        DrawPlus(p);
        break;
    case CommandIcon::EditProgram:
        DrawPage(p);
        DrawPencil(p);
        break;
    case CommandIcon::DeleteProgram:
        DrawPage(p);
        DrawCross(p);
        break;
    case CommandIcon::Categories: DrawTags(p); break;
    case CommandIcon::Emulators: DrawChip(p); break;
    case CommandIcon::Filters: DrawFunnel(p); break;
    case CommandIcon::Options: DrawCheckBoxes(p); break;
    }
}

// The disabled look: grey, lighter, no colour.
QPixmap Greyed(const QPixmap& normal)
{
    QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) / 2);
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

QIcon MakeCommandIcon(CommandIcon which)
{
    QPixmap normal(kIconSize, kIconSize);
    normal.fill(Qt::transparent);
    {
        QPainter painter(&normal);
        painter.setRenderHint(QPainter::Antialiasing);
        Draw(painter, which);
    }
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(Greyed(normal), QIcon::Disabled);
    return icon;
}

} // namespace vorbix::gui
