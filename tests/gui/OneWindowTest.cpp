// One window per application folder, between real processes: `vorbix FILE` beside an open
// window hands FILE to it and ends without touching the catalogue; the window handles it as
// a drop, only once no dialog is open; a window killed outright leaves nothing that blocks.

#include "catalogue/Main_LoadSaveUnit.h"
#include "mainwindow/WindowHandOver.h"
#include "platform/CatalogueLock.h"
#include "support/FakeEmulator.h"
#include "support/RunProcess.h"
#include "support/gui/WindowTest.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vorbix;
using namespace vorbix::test;

namespace {

// A catalogue whose emulator is the fake one, started with the placed image as argument
// and with no after-run step, so that a launch shows no box.
Catalogue WithFakeEmulator(const std::string& root)
{
    Catalogue catalogue;
    catalogue.ProgramList = {MakeProgram("Acornsoft", "Orbit", "Game")};
    catalogue.ProgramList[0].FileUrl = root + "Orbit.ssd";
    EmuRecord emu;
    emu.EmuName = "BeebEm";
    emu.EmuUrl = WriteFakeEmulator(root);
    emu.DiskWorkingDir = root + "emu/discs/";
    emu.CommandLineString = "%IMAGE%";
    catalogue.EmuList = {emu};
    catalogue.LastEmu = "BeebEm";
    WriteAll(root + "Orbit.ssd", "orbit");
    WriteAll(root + "StarMiner.ssd", "star miner");
    WriteAll(root + "Zalaga.ssd", "zalaga");
    std::filesystem::create_directories(root + "emu/discs");
    return catalogue;
}

QProcess* StartWindow(const std::string& appDir, const QStringList& files)
{
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(VORBIX_GUI_PATH),
        QStringList{QStringLiteral("--appdir"), QString::fromStdString(appDir)} + files);
    return process;
}

// The image the fake emulator was last started with, as placed in its working folder.
std::string LastRunImage(const std::string& root)
{
    const auto log = ReadRunLog(root);
    const auto args = log.find("arg");
    return args == log.end() || args->second.empty() ? std::string() : args->second.front();
}

} // namespace

TEST(OneWindow, AStartBesideAnOpenWindowHandsItsFileOverAndAKilledWindowBlocksNothing)
{
    TempDir dir;
    WriteAppDir(WithFakeEmulator(dir.path()), dir.path());
    const auto before = dir.Contents();

    std::unique_ptr<QProcess> first(StartWindow(dir.path(), {}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CatalogueLock::HolderOf(dir.path()) == first->processId(); }, 20000));

    // "Open with" from a file manager: the second start hands the file over and ends at once.
    const ProcessOutput second = RunProcess({VORBIX_GUI_PATH, "--appdir", dir.path(), dir / "StarMiner.ssd"});
    EXPECT_EQ(second.status, 0) << second.err;
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastRunImage(dir.path()) == dir / "emu/discs/StarMiner.ssd"; }, 20000));
    EXPECT_EQ(first->state(), QProcess::Running);

    // A writing command beside the window stops; nothing of the catalogue was written by
    // either start (the first has not saved, the second never loaded it).
    const ProcessOutput resave = RunProcess({VORBIX_CLI_PATH, "--appdir", dir.path(), "resave"});
    EXPECT_EQ(resave.status, 3);
    EXPECT_NE(resave.err.find("(process " + std::to_string(first->processId()) + ")"), std::string::npos);
    auto after = dir.Contents();
    for (const char* name : {"emu/run.log", "emu/started", "emu/ended", "emu/discs/StarMiner.ssd"})
        after.erase(name);
    EXPECT_EQ(after, before);

    // kill -9: its socket is left behind, its lock is not. The next start opens a window of
    // its own and runs its file there.
    first->kill();
    first->waitForFinished();
    std::unique_ptr<QProcess> next(StartWindow(dir.path(), {QString::fromStdString(dir / "Zalaga.ssd")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastRunImage(dir.path()) == dir / "emu/discs/Zalaga.ssd"; }, 20000));
    EXPECT_EQ(CatalogueLock::HolderOf(dir.path()), next->processId());
    next->kill();
    next->waitForFinished();
}

TEST(OneWindow, AFileHandedOverWhileADialogIsOpenIsHandledWhenItCloses)
{
    TempDir dir;
    Catalogue catalogue = WithFakeEmulator(dir.path());
    WriteAppDir(catalogue, dir.path());
    Result<CatalogueLock> lock = CatalogueLock::Acquire(dir.path());
    ASSERT_TRUE(lock.Ok());
    StartedWindow window(dir.path());
    gui::HandOverServer server;
    ASSERT_TRUE(server.Listen(dir.path()));
    QObject::connect(&server, &gui::HandOverServer::FilesHandedOver, window.form.get(),
        &gui::TMainForm::OpenHandedFiles);

    // The About box is open while another start hands a file over; the file waits until the
    // box is closed with Escape.
    QProcess second;
    std::size_t startsWhileOpen = 99;
    QTimer::singleShot(0, [&] { window.Find<QAction>("About1")->trigger(); });
    QTimer::singleShot(100, [&] {
        second.start(QStringLiteral(VORBIX_GUI_PATH),
            {QStringLiteral("--appdir"), QString::fromStdString(dir.path()),
                QString::fromStdString(dir / "StarMiner.ssd")});
    });
    QObject::connect(&second, &QProcess::finished, [&] {
        startsWhileOpen = window.shell.started.size();
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.shell.started.empty(); }, 20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(startsWhileOpen, 0u);
    ASSERT_EQ(window.shell.started.size(), 1u);
    EXPECT_EQ(window.shell.started[0].arguments, std::vector<std::string>{dir / "emu/discs/StarMiner.ssd"});
}
