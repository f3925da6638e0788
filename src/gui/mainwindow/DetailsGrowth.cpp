#include "mainwindow/DetailsGrowth.h"

#include <QEvent>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>

namespace vorbix::gui {

namespace {

constexpr QSize kPanelSize(384, 328);

// A child's first geometry, and how it follows the panel's growth (dx, dy): its left by a
// share of dx, its width and height by shares of dx and dy.
struct Growth {
    const char* name;
    QRect first;
    double left; // share of dx added to the left edge
    double width; // share of dx added to the width
    double height; // share of dy added to the height
};

const Growth kGrowths[] = {
    {"Image1", QRect(0, 0, 375, 300), 0, 1, 1}, {"Image2", QRect(0, 0, 375, 300), 0, 1, 1},
    {"Memo1", QRect(0, 0, 376, 101), 0, 1, 0}, {"Memo2", QRect(0, 105, 376, 66), 0, 1, 0},
    {"ListView2", QRect(0, 175, 185, 124), 0, 0.5, 1}, {"ListView3", QRect(191, 175, 185, 124), 0.5, 0.5, 1},
    {"Memo3", QRect(0, 0, 376, 300), 0, 1, 1}, // the Disc tab's listing
};

class PanelFollower : public QObject {
public:
    explicit PanelFollower(QTabWidget* panel) : QObject(panel), panel_(panel) { panel->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == panel_ && event->type() == QEvent::Resize)
            Follow();
        return QObject::eventFilter(watched, event);
    }

private:
    void Follow()
    {
        const int dx = panel_->width() - kPanelSize.width();
        const int dy = panel_->height() - kPanelSize.height();
        for (const Growth& growth : kGrowths) {
            auto* child = panel_->findChild<QWidget*>(QLatin1String(growth.name));
            if (child == nullptr)
                continue;
            const QRect& first = growth.first;
            const int width = std::max(20, first.width() + static_cast<int>(dx * growth.width));
            const int height = std::max(20, first.height() + static_cast<int>(dy * growth.height));
            const int left = std::max(0, first.left() + static_cast<int>(dx * growth.left));
            child->setGeometry(left, first.top(), width, height);
        }
    }

    QTabWidget* panel_;
};

} // namespace

void FollowPanelSize(QTabWidget* panel)
{
    new PanelFollower(panel);
}

} // namespace vorbix::gui
