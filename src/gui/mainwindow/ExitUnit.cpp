#include "mainwindow/ExitUnit.h"
#include "mainwindow/TextBytes.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace vorbix::gui {

TExitForm::TExitForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName("ExitForm");
    setWindowTitle(QStringLiteral("Vorbix"));
    auto* label = PlainLabel(QStringLiteral("Saving data..."), this);
    label->setObjectName("Label1");
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    setFixedSize(209, 57);
}

void TExitForm::ShowNow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace vorbix::gui
