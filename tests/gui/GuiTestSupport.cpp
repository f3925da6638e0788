#include "GuiTestSupport.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "mainwindow/MainUnit.h"
#include "mainwindow/VorbixApplication.h"
#include "platform/JpegWriter.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace vorbix::test {
namespace {

// The one application object of the test program (widgets need it before anything else).
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_gui";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            new vorbix::gui::VorbixApplication(argc, argv);
    }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

void WriteAppDir(Catalogue catalogue, const std::string& appDir)
{
    catalogue.AppDir = appDir;
    const SaveResult result = SaveCatalogue(catalogue, false, catalogue.LastFilter, catalogue.LastEmu);
    ASSERT_TRUE(result.Ok) << result.Error;
}

StartedWindow::StartedWindow(const std::string& appDir, bool show)
{
    catalogue.AppDir = appDir;
    form = std::make_unique<vorbix::gui::TMainForm>(catalogue, prompts, shell);
    form->SetSplashMinimum(std::chrono::milliseconds(0));
    if (show)
        form->show();
}

// Exit and the error handler end the application's message loop; outside a loop that
// leaves a request to quit standing, which would end every later modal loop at once. A
// message loop of its own clears it.
StartedWindow::~StartedWindow()
{
    form.reset();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

std::string JpegBytes(int width, int height)
{
    return EncodeJpeg(width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3, 128));
}

} // namespace vorbix::test
