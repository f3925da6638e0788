#pragma once
// What the widget tests share: the application object, a shell that records what it was
// asked to open and keeps a settable clock, and an application folder with a catalogue.

#include "catalogue/Catalogue.h"
#include "mainwindow/MainUnit.h"
#include "host/Shell.h"
#include "support/FakePrompts.h"
#include "support/TempDir.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>


namespace vorbix::test {

class FakeShell : public Shell {
public:
    StartResult Open(const std::string& target) override;
    StartResult OpenIn(const std::string& file, const std::string& workingDir,
        const std::vector<std::string>& arguments = {}) override;
    void SetEnvironmentVariable(const std::string&, const std::string&) override {}
    std::chrono::system_clock::time_point Now() override;

    std::vector<std::string> Opened;  // Open targets and OpenIn files, in order
    // When set, the clock stands at this time; otherwise it is the real clock.
    std::optional<std::chrono::system_clock::time_point> FixedNow;
};

ProgramRecord MakeProgram(const std::string& publisher, const std::string& name,
    const std::string& fileUrl = "/nowhere/Game.ssd");

// An application folder whose catalogue files hold the given catalogue.
void WriteAppDir(Catalogue catalogue, const std::string& appDir);

// A main window over a fresh catalogue from appDir, shown (start-up done, no splash wait).
struct StartedWindow {
    Catalogue catalogue;
    FakePrompts prompts;
    FakeShell shell;
    std::unique_ptr<vorbix::gui::TMainForm> form;

    explicit StartedWindow(const std::string& appDir, bool show = true);
    ~StartedWindow();

    template <typename T>
    T* Find(const char* name) const { return form->findChild<T*>(name); }
};

// A JPEG file of the given size made with libjpeg.
std::string JpegBytes(int width, int height);

} // namespace vorbix::test
