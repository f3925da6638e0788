#include "mainwindow/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>

namespace vorbix::gui {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

MessageAnswer AnswerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
    }
}

} // namespace

MessageAnswer QtPrompts::ShowMessageBox(const MessageRequest& request)
{
    const QString caption = request.Caption.empty() ? QApplication::applicationName()
                                                    : QString::fromLocal8Bit(request.Caption);
    QMessageBox box(BoxIcon(request.Icon), caption, QString::fromLocal8Bit(request.Text),
        BoxButtons(request.Buttons), parent_);
    box.setTextFormat(Qt::PlainText);
    // Closing a Yes/No box with Escape or the title bar answers No; Yes/No/Cancel answers Cancel.
    if (request.Buttons == MessageButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    if (request.Foreground) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    return AnswerOf(box.exec());
}

} // namespace vorbix::gui
