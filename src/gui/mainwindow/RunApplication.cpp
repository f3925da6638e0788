#include "mainwindow/RunApplication.h"

#include "catalogue/Catalogue.h"
#include "mainwindow/MainUnit.h"
#include "mainwindow/QtPrompts.h"
#include "mainwindow/VorbixApplication.h"
#include "mainwindow/WindowHandOver.h"
#include "platform/AppDir.h"
#include "platform/CatalogueLock.h"
#include "platform/Process.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <iostream>
#include <optional>

namespace vorbix::gui {

namespace {

// A window that has just taken the lock may not listen yet, and one that is closing may
// still hold it: both are given this long before the catalogue counts as held by a process
// that takes no files (a command of vorbix-cli).
constexpr std::chrono::seconds kWindowStartTime{3};
// A window busy with a long step (a load, a report) answers once the step is done.
constexpr int kWindowAnswerMs = 60000;

int ShowStartError(const std::string& message, int status)
{
    std::cerr << message << '\n';
    QtPrompts prompts;
    prompts.ShowMessageBox({"Vorbix", message, MessageIcon::Stop, MessageButtons::Ok});
    return status;
}

} // namespace

int RunApplication(const StartOptions& options)
{
    // One window per catalogue: this process becomes it by taking the catalogue's lock, or
    // hands its files to the window that holds it and ends.
    std::optional<CatalogueLock> lock;
    const auto giveUp = std::chrono::steady_clock::now() + kWindowStartTime;
    while (!lock) {
        Result<CatalogueLock> taken = CatalogueLock::Acquire(options.AppDir);
        if (taken) {
            lock.emplace(std::move(taken).Value());
            break;
        }
        std::string problem;
        if (HandFilesToWindow(options.AppDir, options.Files, kWindowAnswerMs, problem))
            return problem.empty() ? 0 : ShowStartError(problem, 1);
        if (std::chrono::steady_clock::now() >= giveUp)
            return ShowStartError(taken.Message(), 3);
        QThread::msleep(100);
    }

    Catalogue catalogue;
    catalogue.AppDir = options.AppDir;
    catalogue.InstalledDataDirs = options.InstalledDataDirs;
    QtPrompts prompts;
    // Watched: the launch can tell when the emulator has ended, and how.
    SystemShell shell(StartedPrograms::Watched);
    TMainForm form(catalogue, prompts, shell);
    const ErrorHandlerScope errors([&form](const std::string& message) { form.EndWithoutSaving(message); });
    prompts.SetParent(&form);
    form.SetCatalogueLock(&*lock);
    form.UseWindowSettings(WindowSettingsFile());
    form.OpenAfterStartUp(options.Files);
    // A window that cannot listen still works; a later start then says the catalogue is open.
    HandOverServer server;
    server.Listen(options.AppDir);
    QObject::connect(&server, &HandOverServer::FilesHandedOver, &form, &TMainForm::OpenHandedFiles);
    // Shown from the message loop, so that an error during start-up reaches the handler.
    QMetaObject::invokeMethod(
        &form, [&form] { form.show(); }, Qt::QueuedConnection);
    return QApplication::exec();
}

} // namespace vorbix::gui
