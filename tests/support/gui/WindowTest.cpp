#include "support/gui/WindowTest.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/JpegWriter.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vorbix::test {
namespace {

// The one application object of the test program (widgets need it before anything else).
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        // The windows' own settings (and those of any vorbix this run starts) go to a
        // folder of the run's own, never into the user's.
        char config[] = "/tmp/vorbix-test-config.XXXXXX";
        if (::mkdtemp(config) != nullptr) {
            configFolder_ = config;
            ::setenv("XDG_CONFIG_HOME", config, 1);
        }
        static int argc = 1;
        static char name[] = "test_gui";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            new vorbix::gui::VorbixApplication(argc, argv);
    }
    void TearDown() override
    {
        if (!configFolder_.empty())
            std::filesystem::remove_all(configFolder_);
    }

private:
    std::string configFolder_;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

Catalogue SixPrograms()
{
    Catalogue catalogue;
    catalogue.ProgramList = {
        MakeProgram("Superior", "Repton", "Game"), // 0
        MakeProgram("Acornsoft", "Elite", "Game"), // 1
        MakeProgram("acornsoft", "meteors", "Game"), // 2
        MakeProgram("Micro Power", "Moonraider", "Game"), // 3
        MakeProgram("Acornsoft", "Monsters", "Game"), // 4
        MakeProgram("Bug Byte", "Manic Miner", "Game"), // 5
    };
    FilterRecord acornsoft;
    acornsoft.FilterName = "Acornsoft only";
    acornsoft.FPublisher = "Acornsoft";
    FilterRecord nothing;
    nothing.FilterName = "bbc none";
    nothing.FPublisher = "Nobody";
    catalogue.FilterList = {acornsoft, nothing};
    EmuRecord beebem;
    beebem.EmuName = "BeebEm";
    EmuRecord b2;
    b2.EmuName = "b2";
    catalogue.EmuList = {beebem, b2};
    catalogue.LastEmu = "BeebEm";
    return catalogue;
}

void WriteAppDir(Catalogue catalogue, const std::string& appDir)
{
    catalogue.AppDir = appDir;
    const auto saved = SaveCatalogue(catalogue, false);
    ASSERT_TRUE(saved.Ok()) << saved.Message();
}

void ClearQuitRequest()
{
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

StartedWindow::StartedWindow(const std::string& appDir, bool show)
{
    catalogue.AppDir = appDir;
    form = std::make_unique<vorbix::gui::TMainForm>(catalogue, prompts, shell);
    form->SetSplashMinimum(std::chrono::milliseconds(0));
    if (show)
        form->show();
}

StartedWindow::~StartedWindow()
{
    form.reset();
    ClearQuitRequest();
}

QTreeView* StartedWindow::List() const
{
    return Find<QTreeView>("ListView1");
}

std::string StartedWindow::SelectedName() const
{
    const int pidx = form->SelectedPIdx();
    return pidx < 0 ? "" : catalogue.ProgramList[static_cast<std::size_t>(pidx)].ProgramName;
}

std::string StartedWindow::Panel(int number) const
{
    return Find<QLabel>(("StatusPanel" + std::to_string(number)).c_str())->text().toStdString();
}

bool StartedWindow::Enabled(const char* action) const
{
    return Find<QAction>(action)->isEnabled();
}

void StartedWindow::ClickHeader(int column) const
{
    QHeaderView* header = List()->header();
    const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

WindowTest::~WindowTest()
{
    while (!windows_.empty())
        windows_.pop_back(); // the last started ends first
}

StartedWindow& WindowTest::Start(const Catalogue& catalogue, bool show)
{
    WriteAppDir(catalogue, dir.path());
    return Start(show);
}

StartedWindow& WindowTest::Start(bool show)
{
    return *windows_.emplace_back(std::make_unique<StartedWindow>(dir.path(), show));
}

std::string JpegBytes(int width, int height)
{
    return EncodeJpeg(width, height,
        std::vector<std::uint8_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 128));
}

} // namespace vorbix::test
