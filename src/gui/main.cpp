// The program start: the application object, the application folder, the windows, and
// the message loop. `vorbix --appdir DIR --screenshot FILE.png` renders the main window
// after start-up into a PNG and ends without saving; `vorbix FILE` handles FILE as a file
// dropped on the window once start-up is done.

#include "catalogue/Catalogue.h"
#include "catalogue/Main_LoadSaveUnit.h"
#include "mainwindow/MainUnit.h"
#include "mainwindow/QtPrompts.h"
#include "mainwindow/RunApplication.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/AppDir.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QPixmap>

#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Arguments {
    std::string AppDir;
    QString Screenshot;
    std::vector<std::string> Files;
};

// The options of `vorbix`. Help and the version need no display: asked for, they are
// printed through a plain QCoreApplication before the window application (and its display
// connection) exists; everything else is read after the window application has taken its
// own options (-platform and the like) out of the arguments.
bool AsksForHelpOrVersion(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            break;
        if (argument == "-h" || argument == "-?" || argument == "--help" || argument == "-help"
            || argument == "--help-all" || argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

Arguments ParseArguments(int& argc, char** argv, std::optional<vorbix::gui::VorbixApplication>& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vorbix, a front end for BBC Micro emulators"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption appDir(QStringLiteral("appdir"),
        QStringLiteral("The application folder (Data, HELP, DFSROMS)."), QStringLiteral("DIR"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
        QStringLiteral("Render the main window after start-up to a PNG file and end."), QStringLiteral("FILE.png"));
    parser.addOptions({appDir, screenshot});
    parser.addPositionalArgument(QStringLiteral("FILE"),
        QStringLiteral("A disk or ROM image (or a JPEG picture) handled as if dropped on the window."),
        QStringLiteral("[FILE...]"));
    if (AsksForHelpOrVersion(argc, argv)) {
        const QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("vorbix"));
        QCoreApplication::setApplicationVersion(QString::fromUtf8(vorbix::kVorbixVersion));
        parser.process(core); // prints the help or the version and ends the run
    }
    // A screenshot needs no screen: without a chosen platform it renders off-screen.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]).starts_with("--screenshot") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    app.emplace(argc, argv);
    parser.process(*app);
    Arguments result{QFile::encodeName(parser.value(appDir)).toStdString(), parser.value(screenshot), {}};
    // A file manager passes full paths; a name typed in a terminal is taken from where it was typed.
    for (const QString& file : parser.positionalArguments())
        result.Files.push_back(QFile::encodeName(QFileInfo(file).absoluteFilePath()).toStdString());
    return result;
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
    const vorbix::gui::ErrorHandlerScope errors(
        [&form](const std::string& message) { form.EndWithoutSaving(message); });
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

} // namespace

int main(int argc, char** argv)
{
    std::optional<vorbix::gui::VorbixApplication> app;
    const Arguments arguments = ParseArguments(argc, argv, app);

    const std::string executable = vorbix::ExecutablePath();
    vorbix::gui::StartOptions options;
    options.AppDir = vorbix::ResolveAppDir(arguments.AppDir, executable);
    if (const std::string problem = vorbix::NamedAppDirProblem(arguments.AppDir, options.AppDir); !problem.empty()) {
        std::cerr << problem << '\n';
        if (arguments.Screenshot.isEmpty()) {
            vorbix::gui::QtPrompts prompts;
            prompts.ShowMessageBox({"Vorbix", problem, vorbix::MessageIcon::Stop, vorbix::MessageButtons::Ok});
        }
        return 2;
    }
    options.InstalledDataDirs = vorbix::InstalledDataDirs(executable, VORBIX_INSTALLED_DATA_DIR);
    options.Files = arguments.Files;
    if (arguments.Screenshot.isEmpty())
        return vorbix::gui::RunApplication(options);

    vorbix::Catalogue catalogue;
    catalogue.AppDir = options.AppDir;
    catalogue.InstalledDataDirs = options.InstalledDataDirs;
    vorbix::SystemShell shell;
    StderrPrompts prompts;
    vorbix::gui::TMainForm form(catalogue, prompts, shell);
    form.LoadWithoutWriting();
    form.OpenAfterStartUp(options.Files);
    return RenderScreenshot(form, arguments.Screenshot);
}
