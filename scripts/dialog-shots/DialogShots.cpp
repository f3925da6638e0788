// Renders every dialog of the window, each tab of it on its own, into PNG files, opened
// the way its command opens it (filled from the catalogue's first record where it edits
// one): the screenshots under docs/dialogs/.
//
//   vorbix-dialog-shots APPDIR OUTPUT_DIR
//
// Nothing is saved and no box waits for an answer: messages go to standard error.

#include "catalogue/Catalogue.h"
#include "editing/LinksUnit.h"
#include "editing/SingleProgramOptionsUnit.h"
#include "launching/SingleEmuOptionsUnit.h"
#include "launching/SingleFilterOptionsUnit.h"
#include "mainwindow/MainUnit.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/Process.h"
#include "reports/CompatibilityReportUnit.h"
#include "reports/LinksReportUnit.h"
#include "reports/ProgramsReportUnit.h"

#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include <functional>
#include <iostream>
#include <optional>
#include <type_traits>

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
        pages->setCurrentIndex(0);
    }
    return ok;
}

// Opens the dialog through open (which shows it modally and fills it as its command does),
// shoots it once it stands and closes it with Cancel.
bool ShootOpened(QDialog* dialog, const QDir& out, const std::function<void()>& open)
{
    bool ok = false;
    QTimer::singleShot(50, dialog, [&] {
        ok = Shoot(dialog, out);
        dialog->reject();
    });
    open();
    return ok;
}

template <typename T>
T* Form(QWidget& main)
{
    return main.findChild<T*>(QString(), Qt::FindDirectChildrenOnly);
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
    const vorbix::gui::ErrorHandlerScope errors(
        [&form](const std::string& message) { form.EndWithoutSaving(message); });
    form.SetSplashMinimum(std::chrono::milliseconds(0));
    form.show();
    QApplication::processEvents();
    if (form.Ended())
        return 1;
    const QDir out(QString::fromLocal8Bit(argv[2]));
    bool ok = Save(&form, out.filePath("main-window.png"));
    // The single-record dialogs and the report dialogs are filled by their callers; the other
    // windows fill themselves when shown. The splash and the exit window are no dialogs.
    using namespace vorbix::gui;
    const auto first = [](const auto& list) {
        return list.empty() ? typename std::decay_t<decltype(list)>::value_type{} : list.front();
    };
    for (QDialog* dialog : form.findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
        if (dialog->objectName() == "SplashForm" || dialog->objectName() == "ExitForm")
            continue;
        std::function<void()> open = [dialog] { dialog->exec(); };
        if (auto* emu = qobject_cast<TSingleEmuOptionsForm*>(dialog))
            open = [&, emu] { emu->Edit(first(catalogue.EmuList)); };
        else if (auto* filter = qobject_cast<TSingleFilterOptionsForm*>(dialog))
            open = [&, filter] { filter->Edit(first(catalogue.FilterList)); };
        else if (auto* program = qobject_cast<TSingleProgramOptionsForm*>(dialog))
            open = [&, program] { program->Edit(first(catalogue.ProgramList)); };
        else if (auto* link = qobject_cast<TLinksForm*>(dialog))
            open = [&, link] {
                const vorbix::ProgramRecord p = first(catalogue.ProgramList);
                link->Edit(
                    p.DocLinkNames.empty() ? vorbix::DocLink{} : vorbix::DocLink{p.DocLinkNames[0], p.DocLinkUrls[0]});
            };
        else if (auto* programs = qobject_cast<TProgramsReportForm*>(dialog))
            open = [programs] { programs->Ask(); };
        else if (auto* compatibility = qobject_cast<TCompatibilityReportForm*>(dialog))
            open = [compatibility] { compatibility->Ask(); };
        else if (auto* links = qobject_cast<TLinksReportForm*>(dialog))
            open = [links] { links->Ask(); };
        ok = ShootOpened(dialog, out, open) && ok;
    }
    return ok ? 0 : 1;
}
