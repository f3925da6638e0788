// Renders every dialog of the window, each tab of it on its own, into PNG files, opened
// the way its command opens it (filled from the catalogue's first record where it edits
// one): the screenshots under docs/dialogs/.
//
//   vorbix-dialog-shots APPDIR OUTPUT_DIR
//
// Nothing is saved and no box waits for an answer: messages go to standard error.

#include "catalogue/Catalogue.h"
#include "collection/AddFolderUnit.h"
#include "collection/ImageMatching.h"
#include "collection/MoveCatalogueUnit.h"
#include "collection/ScanProgress.h"
#include "editing/LinksUnit.h"
#include "editing/SingleProgramOptionsUnit.h"
#include "launching/SingleEmuOptionsUnit.h"
#include "launching/SingleFilterOptionsUnit.h"
#include "mainwindow/DetailsPanel.h"
#include "mainwindow/MainUnit.h"
#include "mainwindow/QtPrompts.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/Process.h"
#include "reports/CompatibilityReportUnit.h"
#include "reports/LinksReportUnit.h"
#include "reports/ProgramsReportUnit.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <type_traits>

namespace {

// Messages go to standard error, unless a box is to be shown (and shot): then through boxes.
class StderrPrompts : public vorbix::Prompts {
public:
    vorbix::MessageAnswer ShowMessageBox(const vorbix::MessageRequest& request) override
    {
        if (boxes != nullptr)
            return boxes->ShowMessageBox(request);
        std::cerr << request.Text << '\n';
        return request.Buttons == vorbix::MessageButtons::Ok ? vorbix::MessageAnswer::Ok : vorbix::MessageAnswer::No;
    }
    vorbix::Prompts* boxes = nullptr;
    std::optional<std::string> ChooseFile(const vorbix::FileOpenRequest&) override { return chosenFile; }
    std::optional<std::string> chosenFile;
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

// Runs act on the popup menu or modal box about to be shown, once it stands.
void WhenShown(QObject* context, bool popup, const std::function<void(QWidget*)>& act, int tries = 200)
{
    QTimer::singleShot(20, context, [=] {
        QWidget* shown = popup ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
        if (shown == nullptr || (!popup && shown == context))
            return tries > 0 ? WhenShown(context, popup, act, tries - 1) : void(std::cerr << "Nothing was shown\n");
        act(shown);
    });
}

// The dialog with the menu open over it, in one picture.
bool SaveWithMenu(QWidget* dialog, QWidget* menu, const QString& path)
{
    const QPoint origin = dialog->mapToGlobal(QPoint(0, 0));
    const QRect menuRect(menu->mapToGlobal(QPoint(0, 0)) - origin, menu->size());
    const QRect whole = QRect(QPoint(0, 0), dialog->size()).united(menuRect);
    QPixmap picture(whole.size() * dialog->devicePixelRatioF());
    picture.setDevicePixelRatio(dialog->devicePixelRatioF());
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(-whole.topLeft(), dialog->grab());
    painter.drawPixmap(menuRect.topLeft() - whole.topLeft(), menu->grab());
    painter.end();
    if (picture.save(path, "PNG")) {
        std::cout << path.toStdString() << '\n';
        return true;
    }
    std::cerr << "Cannot create file " << path.toStdString() << '\n';
    return false;
}

// "Preset..." with its menu open, and the box "Test" shows for the BeebEm preset on this
// machine (the presets' folders go under $XDG_CACHE_HOME, which the script points at its
// scratch folder).
bool ShootPresetAndTest(vorbix::gui::TSingleEmuOptionsForm* emu, const QDir& out, StderrPrompts& prompts)
{
    bool ok = false;
    auto* preset = emu->findChild<QPushButton*>("PresetButton");
    WhenShown(emu, true, [&](QWidget* menu) {
        auto* presets = qobject_cast<QMenu*>(menu);
        presets->setActiveAction(presets->actions().value(4));
        QApplication::processEvents();
        ok = SaveWithMenu(emu, menu, out.filePath("SingleEmuOptionsForm-preset-menu.png"));
        menu->close();
    });
    preset->showMenu();
    for (QAction* action : preset->menu()->actions())
        if (action->data().toByteArray() == "BeebEm")
            action->trigger();
    vorbix::gui::QtPrompts boxes(emu);
    prompts.boxes = &boxes;
    WhenShown(emu, false, [&](QWidget* box) {
        ok = Save(box, out.filePath("SingleEmuOptionsForm-test.png")) && ok;
        box->close();
    });
    emu->findChild<QPushButton*>("TestButton")->click();
    prompts.boxes = nullptr;
    return ok;
}

// The main window with the Disc tab showing the image of the program named name.
bool ShootDisc(vorbix::gui::TMainForm& form, const std::string& name, const QString& path)
{
    auto* list = form.findChild<QTreeView*>("ListView1");
    const QModelIndexList found = list->model()->match(list->model()->index(0, 1), Qt::DisplayRole,
        QString::fromStdString(name), 1, Qt::MatchExactly);
    if (found.isEmpty()) {
        std::cerr << "No program named " << name << '\n';
        return false;
    }
    form.RevealListRow(found.front().row());
    form.RefreshDetails();
    form.Details()->ShowTab(vorbix::DetailsTab::Disc);
    QApplication::processEvents();
    const bool ok = Save(&form, path);
    form.Details()->ShowTab(vorbix::DetailsTab::Picture);
    form.RevealListRow(0);
    form.RefreshDetails();
    return ok;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of images as a collection brings them: TOSEC names, publisher folders, a copy of
// a catalogue program, and a DAT file that knows one of them.
std::string MakeIncoming(const vorbix::Catalogue& catalogue, const std::string& folder)
{
    const std::string listed(40 * 256, '\x11');
    WriteFile(folder + "Superior/Repton 3 (1988)(Superior Software)[a].ssd", std::string(80 * 256, '\x01'));
    WriteFile(folder + "Superior/Citadel (1985)(Superior Software).ssd", std::string(80 * 256, '\x02'));
    WriteFile(folder + "Acme Micro/StarRaider.uef", std::string(3000, '\x03'));
    WriteFile(folder + "discs/disc042.ssd", listed);
    if (!catalogue.ProgramList.empty())
        std::filesystem::copy_file(catalogue.ProgramList.front().FileUrl, folder + "discs/backup.ssd");
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", vorbix::Crc32Of(listed));
    const std::string list = folder + "../tosec.dat";
    WriteFile(list,
        "<datafile><game name=\"Frak! (1984)(Aardvark)\"><rom name=\"f.ssd\" size=\"" + std::to_string(listed.size())
            + "\" crc=\"" + crc + "\"/></game></datafile>");
    return list;
}

// Shoots the folder scan's progress over the window on a folder many images fill.
bool ShootScanProgress(QWidget& form, const vorbix::Catalogue& catalogue, const std::string& scratch, const QDir& out)
{
    const std::string many = scratch + "many/";
    for (int i = 0; i < 20000; ++i)
        WriteFile(many + "Disc" + std::to_string(i / 1000) + "/Game" + std::to_string(i) + ".ssd",
            std::string(512, 'x'));
    // Shot once the images are being named, when the bar counts them.
    bool ok = false;
    QTimer naming;
    naming.setInterval(5);
    QObject::connect(&naming, &QTimer::timeout, &form, [&] {
        auto* bar = QApplication::activeModalWidget() != nullptr
            ? QApplication::activeModalWidget()->findChild<QProgressBar*>()
            : nullptr;
        if (bar == nullptr || bar->maximum() == 0 || bar->value() < bar->maximum() / 4)
            return;
        naming.stop();
        ok = Save(QApplication::activeModalWidget(), out.filePath("ScanProgress.png"));
    });
    naming.start();
    vorbix::ChecksumLists lists;
    (void)lists.AddText("<datafile><game name=\"g\"><rom name=\"g\" size=\"512\" crc=\"00000001\"/></game></datafile>",
        "x.dat");
    vorbix::gui::ScanWithProgress(&form, many, vorbix::ScanCatalogue::Of(catalogue), lists);
    std::filesystem::remove_all(many);
    return ok;
}

// The Add Folder preview of a generated folder, with a DAT file chosen from "Lists...", and
// the Move Catalogue dialog with its changes shown.
bool ShootCollectionForms(QWidget& form, vorbix::Catalogue& catalogue, StderrPrompts& prompts, const QDir& out)
{
    using namespace vorbix::gui;
    const std::string scratch = catalogue.AppDir + "shots/";
    bool ok = ShootScanProgress(form, catalogue, scratch, out);
    const std::string list = MakeIncoming(catalogue, scratch + "incoming/");
    auto* add = form.findChild<TAddFolderForm*>(QString(), Qt::FindDirectChildrenOnly);
    prompts.chosenFile = list;
    // The preview stands once the scan's progress has gone: then "Lists..." takes the DAT file.
    QTimer waitForPreview;
    waitForPreview.setInterval(20);
    QObject::connect(&waitForPreview, &QTimer::timeout, add, [&] {
        if (QApplication::activeModalWidget() != add)
            return;
        waitForPreview.stop();
        WhenShown(add, true, [](QWidget* menu) {
            qobject_cast<QMenu*>(menu)->actions().constLast()->trigger();
            menu->close();
        });
        add->findChild<QPushButton*>("ListsButton")->click();
        QTimer::singleShot(300, add, [&] {
            ok = Save(add, out.filePath("AddFolderForm.png")) && ok;
            add->reject();
        });
    });
    waitForPreview.start();
    add->Preview(scratch + "incoming/");
    prompts.chosenFile.reset();

    auto* move = form.findChild<TMoveCatalogueForm*>(QString(), Qt::FindDirectChildrenOnly);
    QTimer::singleShot(50, move, [&] {
        move->findChild<QLineEdit*>("ToEdit")->setText(QStringLiteral("/home/me/Beeb/"));
        move->findChild<QPushButton*>("ShowButton")->click();
        ok = Save(move, out.filePath("MoveCatalogueForm.png")) && ok;
        move->reject();
    });
    move->Ask();
    std::filesystem::remove_all(scratch);
    return ok;
}

// The window of a first start: no catalogue yet, what to do first in place of the rows.
bool ShootFirstStart(vorbix::Shell& shell, const QDir& out)
{
    const std::string empty = QDir::temp().filePath(QStringLiteral("vorbix-first-start")).toStdString() + "/";
    std::filesystem::create_directories(empty);
    vorbix::Catalogue catalogue;
    catalogue.AppDir = empty;
    StderrPrompts prompts;
    vorbix::gui::TMainForm first(catalogue, prompts, shell);
    first.LoadWithoutWriting();
    first.SetSplashMinimum(std::chrono::milliseconds(0));
    first.show();
    QApplication::processEvents();
    const bool ok = Save(&first, out.filePath("main-window-first-start.png"));
    first.hide();
    std::filesystem::remove_all(empty);
    return ok;
}

template <typename T>
T* Form(QWidget& main)
{
    return main.findChild<T*>(QString(), Qt::FindDirectChildrenOnly);
}

// The main window grown to 1920 x 1080 (the size of a maximised window on such a screen,
// which the off-screen platform does not have), then at its first size with the find field
// open and "mi" typed into it.
bool ShootMainWindowViews(QWidget& form, const QDir& out)
{
    const QSize first = form.size();
    form.resize(1920, 1080);
    QApplication::processEvents();
    bool ok = Save(&form, out.filePath("main-window-1920x1080.png"));
    form.resize(first);
    form.findChild<QAction*>("Find1")->trigger();
    auto* field = form.findChild<QLineEdit*>("FindEdit1");
    field->setText(QStringLiteral("mi"));
    QApplication::processEvents();
    ok = Save(&form, out.filePath("main-window-find.png")) && ok;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(field, &escape);
    QApplication::processEvents();
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
    const vorbix::gui::ErrorHandlerScope errors(
        [&form](const std::string& message) { form.EndWithoutSaving(message); });
    form.SetSplashMinimum(std::chrono::milliseconds(0));
    form.show();
    QApplication::processEvents();
    if (form.Ended())
        return 1;
    const QDir out(QString::fromLocal8Bit(argv[2]));
    bool ok = Save(&form, out.filePath("main-window.png"));
    ok = ShootMainWindowViews(form, out) && ok;
    ok = ShootDisc(form, "Star Miner", out.filePath("main-window-disc.png")) && ok;
    ok = ShootDisc(form, "Tape Trek", out.filePath("main-window-tape.png")) && ok;
    // The single-record dialogs and the report dialogs are filled by their callers; the other
    // windows fill themselves when shown. The splash and the exit window are no dialogs.
    using namespace vorbix::gui;
    const auto first = [](const auto& list) {
        return list.empty() ? typename std::decay_t<decltype(list)>::value_type{} : list.front();
    };
    for (QDialog* dialog : form.findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
        if (dialog->objectName() == "SplashForm" || dialog->objectName() == "ExitForm"
            || dialog->objectName() == "AddFolderForm" || dialog->objectName() == "MoveCatalogueForm")
            continue;
        std::function<void()> open = [dialog] { dialog->exec(); };
        if (auto* emu = qobject_cast<TSingleEmuOptionsForm*>(dialog)) {
            open = [&, emu] { emu->Edit(first(catalogue.EmuList)); };
            bool presetShots = false;
            QTimer::singleShot(50, emu, [&, emu] {
                presetShots = ShootPresetAndTest(emu, out, prompts);
                emu->reject();
            });
            open();
            ok = presetShots && ok;
        } else if (auto* filter = qobject_cast<TSingleFilterOptionsForm*>(dialog))
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
    ok = ShootCollectionForms(form, catalogue, prompts, out) && ok;
    ok = ShootFirstStart(shell, out) && ok;
    return ok ? 0 : 1;
}
