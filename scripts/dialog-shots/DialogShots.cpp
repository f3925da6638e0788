// Renders every dialog of the window, each tab of it on its own, into PNG files, as it
// stands after the start-up on a catalogue: the screenshots under docs/dialogs/.
//
//   vorbix-dialog-shots APPDIR OUTPUT_DIR
//
// Nothing is saved and no box waits for an answer: messages go to standard error.

#include "catalogue/Catalogue.h"
#include "mainwindow/MainUnit.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/Process.h"

#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>

#include <iostream>
#include <optional>

namespace {

class StderrPrompts : public vorbix::Prompts {
public:
    vorbix::MessageAnswer ShowMessageBox(const vorbix::MessageRequest& request) override
    {
        std::cerr << request.Text << '\n';
        return request.Buttons == vorbix::MessageButtons::Ok ? vorbix::MessageAnswer::Ok : vorbix::MessageAnswer::No;
    }
    std::optional<std::string> ChooseFile(const vorbix::FileOpenRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFolder(const vorbix::FolderRequest&) override { return std::nullopt; }
};

// "Disk/rom images" -> "disk-rom-images".
QString FileNameOf(const QString& text)
{
    QString name;
    for (const QChar c : text.toLower())
        name += c.isLetterOrNumber() ? c : QChar('-');
    while (name.contains("--"))
        name.replace("--", "-");
    return name.remove('&');
}

bool Save(QWidget* window, const QString& path)
{
    if (window->grab().save(path, "PNG")) {
        std::cout << path.toStdString() << '\n';
        return true;
    }
    std::cerr << "Cannot create file " << path.toStdString() << '\n';
    return false;
}

bool Shoot(QDialog* dialog, const QDir& out)
{
    dialog->show();
    QApplication::processEvents();
    const QString base = dialog->objectName();
    const QList<QTabWidget*> tabs = dialog->findChildren<QTabWidget*>();
    bool ok = true;
    if (tabs.isEmpty()) {
        ok = Save(dialog, out.filePath(base + ".png"));
    } else {
        QTabWidget* pages = tabs.front();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QApplication::processEvents();
            ok = Save(dialog, out.filePath(base + "-" + FileNameOf(pages->tabText(i)) + ".png")) && ok;
        }
    }
    dialog->hide();
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    vorbix::gui::VorbixApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: vorbix-dialog-shots APPDIR OUTPUT_DIR\n";
        return 2;
    }
    vorbix::Catalogue catalogue;
    catalogue.AppDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath().toStdString() + "/";
    StderrPrompts prompts;
    vorbix::SystemShell shell;
    vorbix::gui::TMainForm form(catalogue, prompts, shell);
    form.SetSplashMinimum(std::chrono::milliseconds(0));
    form.show();
    QApplication::processEvents();
    if (form.Ended())
        return 1;
    const QDir out(QString::fromLocal8Bit(argv[2]));
    bool ok = Save(&form, out.filePath("main-window.png"));
    // The splash, the exit window and the message boxes are not dialogs of the catalogue.
    for (QDialog* dialog : form.findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
        if (dialog->objectName() != "SplashForm" && dialog->objectName() != "ExitForm")
            ok = Shoot(dialog, out) && ok;
    return ok ? 0 : 1;
}
