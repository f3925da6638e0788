#include "mainwindow/QtPrompts.h"

#include "mainwindow/TextBytes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

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

// "Executables|*.exe;*.pif;*.bat;*.com|All files|*" as Qt's name filters:
// "Executables (*.exe *.pif *.bat *.com)", "All files (*)". "*.*" means every file, as
// it does on Windows, also a file without an extension.
QStringList NameFilters(const std::string& filter)
{
    const QStringList parts = ShownText(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks;
        for (const QString& mask : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = mask.trimmed();
            masks << (trimmed == QStringLiteral("*.*") ? QString(QStringLiteral("*")) : trimmed);
        }
        filters << parts[i].trimmed() + QStringLiteral(" (") + masks.join(u' ') + QStringLiteral(")");
    }
    return filters;
}

std::optional<std::string> ChosenPath(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

} // namespace

std::optional<std::string> QtPrompts::ChooseFile(const FileOpenRequest& request)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = NameFilters(request.Filter);
    dialog.setNameFilters(filters);
    if (request.ExecutablesFirst && !filters.isEmpty()) {
        // The first filter matches every name; the listing then keeps only executable files.
        const QDir::Filters every = dialog.filter();
        const auto listFor = [&dialog, every, first = filters.front()](const QString& filter) {
            dialog.setFilter(filter == first ? every | QDir::Executable : every);
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, listFor);
        listFor(filters.front());
    }
    if (!request.InitialDir.empty())
        dialog.setDirectory(QFile::decodeName(request.InitialDir.c_str()));
    if (!request.FileName.empty())
        dialog.selectFile(QFile::decodeName(request.FileName.c_str()));
    return ChosenPath(dialog);
}

std::optional<std::string> QtPrompts::ChooseFolder(const FolderRequest& request)
{
    QFileDialog dialog(parent_);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(request.InitialDir.empty() ? QDir::homePath() : QFile::decodeName(request.InitialDir.c_str()));
    return ChosenPath(dialog);
}

MessageAnswer QtPrompts::ShowMessageBox(const MessageRequest& request)
{
    const QString caption = request.Caption.empty() ? QApplication::applicationName() : ShownText(request.Caption);
    QMessageBox box(BoxIcon(request.Icon), caption, ShownText(request.Text), BoxButtons(request.Buttons), parent_);
    box.setTextFormat(Qt::PlainText);
    // Closing a Yes/No box with Escape or the title bar answers No; Yes/No/Cancel answers Cancel.
    if (request.Buttons == MessageButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    if (request.DefaultNo)
        box.setDefaultButton(QMessageBox::No);
    if (request.Foreground) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    return AnswerOf(box.exec());
}

// The plain "Press OK" box, asking the launch ten times a second whether the emulator has
// ended: it then closes as if OK were pressed, or gains the line that says why it stays.
bool QtPrompts::PressOkWhileWatchingEmulator(const std::function<EmulatorWatch()>& watch)
{
    const QString text = QStringLiteral("Press OK after running emulator");
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &box, [&] {
        const EmulatorWatch seen = watch();
        if (!seen.Ended)
            return;
        poll.stop();
        if (seen.KeepOpenReason.empty())
            box.done(QMessageBox::Ok);
        else
            box.setText(text + QChar(u'\n') + ShownText(seen.KeepOpenReason));
    });
    poll.start(100);
    box.exec();
    return true;
}

} // namespace vorbix::gui
