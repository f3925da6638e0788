#include "GuiTestSupport.h"

#include "catalogue/Main_LoadSaveUnit.h"
#include "mainwindow/MainUnit.h"
#include "mainwindow/VorbixApplication.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <jpeglib.h>

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

StartResult FakeShell::Open(const std::string& target)
{
    Opened.push_back(target);
    return {42, -1};
}

StartResult FakeShell::OpenIn(const std::string& file, const std::string&, const std::vector<std::string>&)
{
    Opened.push_back(file);
    return {42, -1};
}

std::chrono::system_clock::time_point FakeShell::Now()
{
    return FixedNow ? *FixedNow : std::chrono::system_clock::now();
}

ProgramRecord MakeProgram(const std::string& publisher, const std::string& name, const std::string& fileUrl)
{
    ProgramRecord program;
    program.PublisherName = publisher;
    program.ProgramName = name;
    program.FileUrl = fileUrl;
    program.ProgramType = "Game";
    return program;
}

void WriteAppDir(Catalogue catalogue, const std::string& appDir)
{
    catalogue.AppDir = appDir;
    const SaveResult result = SaveCatalogue(catalogue, false, catalogue.LastFilter, catalogue.LastEmu);
    ASSERT_TRUE(result.Ok) << result.Error;
}

StartedWindow::StartedWindow(const std::string& appDir, bool show)
{
    catalogue.AppDir = appDir;
    form = std::make_unique<TMainForm>(catalogue, prompts, shell);
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
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3, 128);
    while (info.next_scanline < info.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

} // namespace vorbix::test
