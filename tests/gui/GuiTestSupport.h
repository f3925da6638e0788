#pragma once
// What the widget tests share: the application object, a window started over an
// application folder with a catalogue, and JPEG files.

#include "catalogue/Catalogue.h"
#include "mainwindow/MainUnit.h"
#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>


namespace vorbix::test {

// An application folder whose catalogue files hold the given catalogue.
void WriteAppDir(Catalogue catalogue, const std::string& appDir);

// A main window over a fresh catalogue from appDir, shown (start-up done, no splash wait).
struct StartedWindow {
    Catalogue catalogue;
    FakePrompts prompts;
    RecordingShell shell;
    std::unique_ptr<vorbix::gui::TMainForm> form;

    explicit StartedWindow(const std::string& appDir, bool show = true);
    ~StartedWindow();

    template <typename T>
    T* Find(const char* name) const { return form->findChild<T*>(name); }
};

// A JPEG file of the given size made with libjpeg.
std::string JpegBytes(int width, int height);

} // namespace vorbix::test
