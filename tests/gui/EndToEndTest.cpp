// The real application end to end: its own start-up, windows, message boxes, file chooser
// and event loop over a scratch application folder. A program is added through the editor,
// run in the fake emulator with the disk copied back and the screen picture copied, the
// three reports written, and the run ended by Exit; then the files on disk are compared
// byte for byte with what the command-line tool writes for the same catalogue. An emulator
// set to carry on when it closes is watched through its "Press OK" box.

#include "catalogue/Main_LoadSaveUnit.h"
#include "editing/SingleProgramOptionsUnit.h"
#include "mainwindow/RunApplication.h"
#include "reports/CompatibilityReportUnit.h"
#include "reports/LinksReportUnit.h"
#include "reports/ProgramsReportUnit.h"
#include "support/FakeEmulator.h"
#include "support/RunProcess.h"
#include "support/gui/WindowTest.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <vector>

using namespace vorbix;
using namespace vorbix::test;

namespace {

QWidget* Modal()
{
    return QApplication::activeModalWidget();
}

// Runs steps from a timer inside the application's event loop and the modal loops it
// opens: a step acts once its condition holds. An action that opens a modal window does
// not return until it closes; the timer goes on ticking inside that window's loop, so the
// next steps answer it. A run that stalls ends all loops after the time limit.
class Driver {
public:
    struct Step {
        const char* what;
        std::function<bool()> ready;
        std::function<void()> act;
    };

    explicit Driver(std::vector<Step> steps) : steps_(std::move(steps))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(20);
    }

    bool Finished() const { return next_ == steps_.size(); }
    const char* Waiting() const { return Finished() ? "nothing" : steps_[next_].what; }
    // What stood on screen when the run stalled.
    const std::string& Stall() const { return stall_; }

private:
    void Tick()
    {
        if (std::chrono::steady_clock::now() - started_ > std::chrono::seconds(60)) {
            timer_.stop();
            stall_ = Modal()
                ? std::string(Modal()->metaObject()->className()) + " \"" + Modal()->windowTitle().toStdString() + "\""
                : std::string("no modal window");
            if (auto* box = qobject_cast<QMessageBox*>(Modal()))
                stall_ += ": " + box->text().toStdString();
            if (auto* edit = Modal() ? Modal()->findChild<QLineEdit*>("Edit1") : nullptr)
                stall_ += ", Name \"" + edit->text().toStdString() + "\"";
            QCoreApplication::exit(2);
            return;
        }
        if (Finished() || !steps_[next_].ready())
            return;
        // The action runs outside this timer's slot: Qt does not deliver a timer again while
        // its slot runs, and the action may open a modal window that the next steps answer.
        QTimer::singleShot(0, steps_[next_++].act);
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::string stall_;
    QTimer timer_;
    const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

template <typename T>
T* ModalOf()
{
    return qobject_cast<T*>(Modal());
}

QMessageBox* BoxStartingWith(const QString& text)
{
    auto* box = ModalOf<QMessageBox>();
    return box && box->text().startsWith(text) ? box : nullptr;
}

QWidget* MainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "MainForm" && widget->isVisible())
            return widget;
    return nullptr;
}

void Trigger(const char* action)
{
    MainWindow()->findChild<QAction*>(action)->trigger();
}

void ClickButton(QWidget* dialog, const QString& caption)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == caption && button->isVisible()) {
            button->click();
            return;
        }
    ADD_FAILURE() << "no button " << caption.toStdString() << " in " << dialog->windowTitle().toStdString();
}

// A report command: OK in its dialog, then No to the question whether to view the file.
template <typename Form>
void AddReportSteps(std::vector<Driver::Step>& steps, const char* action)
{
    steps.push_back({action, [] { return Modal() == nullptr; }, [action] { Trigger(action); }});
    steps.push_back({"report dialog", [] { return ModalOf<Form>() != nullptr; }, [] { ClickButton(Modal(), "OK"); }});
    steps.push_back({"view question", [] { return BoxStartingWith("View report file ") != nullptr; },
        [] { BoxStartingWith("View report file ")->button(QMessageBox::No)->click(); }});
}

} // namespace

TEST(EndToEnd, AddRunReportAndExitWriteWhatTheTerminalWrites)
{
    TempDir dir;
    const std::string root = dir.path();
    const std::string image = dir.Write("games/Acornsoft/ChuckieEgg.ssd", "chuckie disk");
    WriteFakeEmulator(root);
    std::filesystem::create_directories(root + "emu/discs");
    dir.Write("control/save", "");
    const std::string screen = JpegBytes(32, 24); // the emulator's saved screen
    dir.Write("control/picture", screen);

    Catalogue start;
    EmuRecord emu{"BeebEm", root + "emu/beebem"};
    emu.DiskWorkingDir = root + "emu/discs/";
    emu.CleanDiskWorkingDir = true;
    start.EmuList = {emu};
    start.Publishers.Add("Acornsoft");
    start.Publishers.Add("Superior");
    start.ProgramTypes.Add("Game");
    start.LastEmu = "BeebEm";
    start.Options.CopyDiskBack = true;
    start.Options.CopyPicture = true;
    start.Options.PictureUrl = root + "emu/screen.jpg";
    WriteAppDir(start, root);

    std::vector<Driver::Step> steps;
    steps.push_back(
        {"main window", [] { return MainWindow() != nullptr && Modal() == nullptr; }, [] { Trigger("New1"); }});
    steps.push_back({"program editor", [] { return ModalOf<gui::TSingleProgramOptionsForm>() != nullptr; },
        [] { Modal()->findChild<QPushButton*>("BrowseButton1")->click(); }});
    steps.push_back({"image chooser", [] { return ModalOf<QFileDialog>() != nullptr; },
        [image] {
            // Typed into the chooser's file name box and confirmed with Enter, as a user would.
            auto* name = ModalOf<QFileDialog>()->findChild<QLineEdit*>("fileNameEdit");
            name->setText(QString::fromStdString(image));
            QTest::keyClick(name, Qt::Key_Return);
        }});
    steps.push_back({"proposed name",
        [] {
            auto* editor = ModalOf<gui::TSingleProgramOptionsForm>();
            return editor && editor->findChild<QLineEdit*>("Edit1")->text() == "Chuckie Egg";
        },
        [] { ClickButton(Modal(), "OK"); }});
    steps.push_back({"run", [] { return Modal() == nullptr; }, [] { Trigger("RunProgram1"); }});
    steps.push_back({"emulator finished",
        [root] {
            return BoxStartingWith("Press OK after running emulator") != nullptr
                && std::filesystem::exists(root + "emu/run.log");
        },
        [] { BoxStartingWith("Press OK after running emulator")->button(QMessageBox::Ok)->click(); }});
    AddReportSteps<gui::TProgramsReportForm>(steps, "ProgramsReport1");
    AddReportSteps<gui::TCompatibilityReportForm>(steps, "CompatibilityReport1");
    AddReportSteps<gui::TLinksReportForm>(steps, "LinksReport1");
    steps.push_back({"exit", [] { return Modal() == nullptr; }, [] { Trigger("Exit1"); }});

    Driver driver(std::move(steps));
    const int status = gui::RunApplication({root, {}, {}});
    ClearQuitRequest();
    ASSERT_TRUE(driver.Finished()) << "stalled waiting for " << driver.Waiting() << " (" << driver.Stall() << ")";
    EXPECT_EQ(status, 0);

    // The run: the disk came back changed, the working copy went, the picture came.
    EXPECT_EQ(dir.Read("games/Acornsoft/ChuckieEgg.ssd"), "chuckie disk+saved");
    EXPECT_FALSE(dir.Exists("emu/discs/ChuckieEgg.ssd"));
    EXPECT_EQ(dir.Read("games/Acornsoft/ChuckieEgg.jpg"), screen);

    // The catalogue as saved at exit holds the new program ...
    const std::string programs = dir.Read("Data/programs.xml");
    EXPECT_NE(programs.find("<program-name>Chuckie Egg</program-name>"), std::string::npos);
    EXPECT_NE(programs.find("<publisher-name>Acornsoft</publisher-name>"), std::string::npos);
    // ... and is what the terminal writes for the same catalogue.
    TempDir copy;
    copy.Write("Data/programs.xml", programs);
    copy.Write("Data/options.xml", dir.Read("Data/options.xml"));
    const ProcessOutput resaved = RunProcess({VORBIX_CLI_PATH, "--appdir", copy.path(), "resave"});
    ASSERT_EQ(resaved.status, 0) << resaved.err;
    EXPECT_EQ(copy.Read("Data/programs.xml"), programs);
    EXPECT_EQ(copy.Read("Data/options.xml"), dir.Read("Data/options.xml"));
    for (const auto& [kind, file] : {std::pair{"programs", "ProgramsReport.txt"},
             std::pair{"compatibility", "CompatibilityReport.txt"}, std::pair{"links", "LinksReport.txt"}}) {
        const ProcessOutput report = RunProcess({VORBIX_CLI_PATH, "--appdir", root, "report", kind, "--stdout"});
        ASSERT_EQ(report.status, 0) << report.err;
        EXPECT_EQ(dir.Read(file), report.out) << file;
    }
}

// "Carry on when the emulator closes" in the real window and its real boxes: the "Press OK"
// box closes by itself when the emulator ends after a while, and the emulator's failure is
// told with its error output; the box stays open, saying why, for an emulator that ends at
// once; OK pressed while the emulator still runs runs the after-run steps at once; and Run
// Emulator, which holds no box, still tells a failure soon after the start.
TEST(EndToEnd, TheEmulatorsEndClosesThePressOkBoxAndItsFailureIsShown)
{
    TempDir dir;
    const std::string root = dir.path();
    WriteFakeEmulator(root);
    std::filesystem::create_directories(root + "emu/discs");
    std::filesystem::create_directories(root + "control");
    Catalogue start;
    EmuRecord emu{"BeebEm", root + "emu/beebem"};
    emu.DiskWorkingDir = root + "emu/discs/";
    emu.CleanDiskWorkingDir = true;
    emu.WaitForExit = true;
    start.EmuList = {emu};
    start.ProgramList.push_back({"Orbit", dir.Write("games/Orbit.ssd", "orbit")});
    start.LastEmu = "BeebEm";
    start.Options.CopyDiskBack = true;
    WriteAppDir(start, root);
    const auto lines = [&dir](const char* file) {
        const std::string text = dir.Read(std::string("emu/") + file);
        return std::count(text.begin(), text.end(), '\n');
    };
    const QString pressOk = QStringLiteral("Press OK after running emulator");

    QString failure;
    QString staysOpen;
    QString unwatchedFailure;
    bool cleanedWhileRunning = false;
    std::vector<Driver::Step> steps;
    // Longer than the 3 seconds within which an end leaves the box open.
    steps.push_back({"main window", [] { return MainWindow() != nullptr && Modal() == nullptr; },
        [&dir] {
            dir.Write("control/sleep", "3.5");
            dir.Write("control/fail", "no ROM found\n");
            Trigger("RunProgram1");
        }});
    steps.push_back(
        {"the failure, once the box closed by itself", [] { return BoxStartingWith("BeebEm ended") != nullptr; },
            [&failure] {
                QMessageBox* box = BoxStartingWith("BeebEm ended");
                failure = box->text();
                QTest::keyClick(box, Qt::Key_Return);
            }});
    steps.push_back({"second run", [] { return Modal() == nullptr; },
        [&dir] {
            std::filesystem::remove(dir / "control/sleep");
            std::filesystem::remove(dir / "control/fail");
            Trigger("RunProgram1");
        }});
    steps.push_back({"the box saying why it stays",
        [pressOk] {
            QMessageBox* box = BoxStartingWith(pressOk);
            return box != nullptr && box->text() != pressOk;
        },
        [&staysOpen, pressOk] {
            QMessageBox* box = BoxStartingWith(pressOk);
            staysOpen = box->text();
            QTest::keyClick(box, Qt::Key_Return);
        }});
    steps.push_back({"third run", [] { return Modal() == nullptr; },
        [&dir] {
            dir.Write("control/hold", "");
            Trigger("RunProgram1");
        }});
    steps.push_back({"OK while the emulator runs",
        [&lines, pressOk] { return BoxStartingWith(pressOk) != nullptr && lines("started") == 3; },
        [pressOk] { QTest::keyClick(BoxStartingWith(pressOk), Qt::Key_Return); }});
    steps.push_back({"after-run steps done", [] { return Modal() == nullptr; },
        [&] {
            cleanedWhileRunning = lines("ended") == 2 && !dir.Exists("emu/discs/Orbit.ssd");
            std::filesystem::remove(dir / "control/hold");
        }});
    // Run Emulator holds no box, yet a failure soon after the start is told.
    steps.push_back({"fourth run", [&lines] { return Modal() == nullptr && lines("ended") == 3; },
        [&dir] {
            dir.Write("control/fail", "no ROM found\n");
            Trigger("RunEmulator1");
        }});
    steps.push_back({"the failure without a box", [] { return BoxStartingWith("BeebEm ended") != nullptr; },
        [&unwatchedFailure] {
            QMessageBox* box = BoxStartingWith("BeebEm ended");
            unwatchedFailure = box->text();
            QTest::keyClick(box, Qt::Key_Return);
        }});
    steps.push_back({"exit", [] { return Modal() == nullptr; }, [] { Trigger("Exit1"); }});

    Driver driver(std::move(steps));
    const int status = gui::RunApplication({root, {}, {}});
    ClearQuitRequest();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (lines("ended") < 4 && std::chrono::steady_clock::now() < deadline)
        QTest::qWait(20);
    ASSERT_TRUE(driver.Finished()) << "stalled waiting for " << driver.Waiting() << " (" << driver.Stall() << ")";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(failure.toStdString(), "BeebEm ended with status 3\nno ROM found");
    EXPECT_EQ(staysOpen.toStdString(),
        "Press OK after running emulator\nBeebEm ended within 3 seconds of its start, perhaps handing the program "
        "to a copy that was already running: press OK when you have finished with it.");
    EXPECT_TRUE(cleanedWhileRunning);
    EXPECT_EQ(unwatchedFailure, failure);
    EXPECT_EQ(dir.Read("games/Orbit.ssd"), "orbit");
}
