// The program start: the application object, the application folder, the windows, and
// the message loop. `vorbix --appdir DIR --screenshot FILE.png` renders the main window
// after start-up into a PNG and ends without saving.

#include "catalogue/Catalogue.h"
#include "mainwindow/HelpPages.h"
#include "mainwindow/MainUnit.h"
#include "mainwindow/RunApplication.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/AppDir.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QFile>
#include <QMetaObject>
#include <QPixmap>

#include <exception>
#include <iostream>
#include <optional>

namespace {

struct Arguments {
    std::string AppDir;
    QString Screenshot;
};

Arguments ParseArguments(const QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Vorbix, a front end for BBC Micro emulators");
    parser.addHelpOption();
    const QCommandLineOption appDir("appdir", "The application folder (Data, HELP, DFSROMS).", "DIR");
    const QCommandLineOption screenshot("screenshot", "Render the main window after start-up to a PNG file and end.",
        "FILE.png");
    parser.addOptions({appDir, screenshot});
    parser.process(app);
    return {QFile::encodeName(parser.value(appDir)).toStdString(), parser.value(screenshot)};
}

// A screenshot is taken without anyone to answer a box: messages go to standard error and
// questions are answered No, choosers cancelled.
class StderrPrompts : public vorbix::Prompts {
public:
    vorbix::MessageAnswer ShowMessageBox(const vorbix::MessageRequest& request) override
    {
        std::cerr << "Vorbix: " << request.Text << '\n';
        switch (request.Buttons) {
        case vorbix::MessageButtons::YesNo: return vorbix::MessageAnswer::No;
        case vorbix::MessageButtons::YesNoCancel: return vorbix::MessageAnswer::Cancel;
        case vorbix::MessageButtons::Ok: break;
        }
        return vorbix::MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(const vorbix::FileOpenRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFolder(const vorbix::FolderRequest&) override { return std::nullopt; }
};

int RenderScreenshot(vorbix::gui::TMainForm& form, const QString& file)
{
    form.SetSplashMinimum(std::chrono::milliseconds(0));
    // Outside the message loop an unexpected error would not reach the window's handler;
    // it ends the rendering with its message instead of aborting the program.
    try {
        form.show();
        QApplication::processEvents();
    } catch (const std::exception& error) {
        std::cerr << "Vorbix: " << vorbix::gui::UnexpectedErrorText(error.what()) << '\n';
        return 1;
    }
    if (form.Ended())
        return 1;
    // Encoded in memory and written through the one file helper, like every other file.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const std::string path = QFile::encodeName(file).toStdString();
    if (!form.grab().save(&buffer, "PNG")) {
        std::cerr << "Cannot create file " << path << '\n';
        return 1;
    }
    if (vorbix::Status written = vorbix::WriteFileAtomic(path, png.toStdString()); !written) {
        std::cerr << written.Message() << '\n';
        return 1;
    }
    return 0;
}

// A screenshot needs no screen: without a chosen platform it renders off-screen.
void PreferOffscreenForScreenshot(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (QString(argv[i]).startsWith("--screenshot") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenForScreenshot(argc, argv);
    vorbix::gui::VorbixApplication app(argc, argv);
    const Arguments arguments = ParseArguments(app);

    const std::string appDir = vorbix::ResolveAppDir(arguments.AppDir, vorbix::ExecutablePath());
    if (arguments.Screenshot.isEmpty())
        return vorbix::gui::RunApplication(appDir);

    vorbix::Catalogue catalogue;
    catalogue.AppDir = appDir;
    vorbix::gui::InstallHelpPages(catalogue.AppDir);
    vorbix::SystemShell shell;
    StderrPrompts prompts;
    vorbix::gui::TMainForm form(catalogue, prompts, shell);
    return RenderScreenshot(form, arguments.Screenshot);
}
