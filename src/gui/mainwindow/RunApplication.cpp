#include "mainwindow/RunApplication.h"

#include "catalogue/Catalogue.h"
#include "mainwindow/MainUnit.h"
#include "mainwindow/QtPrompts.h"
#include "platform/Process.h"

#include <QApplication>
#include <QMetaObject>

namespace vorbix::gui {

int RunApplication(const StartOptions& options)
{
    Catalogue catalogue;
    catalogue.AppDir = options.AppDir;
    catalogue.InstalledDataDirs = options.InstalledDataDirs;
    QtPrompts prompts;
    SystemShell shell;
    TMainForm form(catalogue, prompts, shell);
    prompts.SetParent(&form);
    form.OpenAfterStartUp(options.Files);
    // Shown from the message loop, so that an error during start-up reaches the handler.
    QMetaObject::invokeMethod(
        &form, [&form] { form.show(); }, Qt::QueuedConnection);
    return QApplication::exec();
}

} // namespace vorbix::gui
