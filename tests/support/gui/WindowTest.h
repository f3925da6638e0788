#pragma once
// What the widget tests share: the application object, the catalogue the window tests
// browse, a main window started over an application folder, and JPEG files.

#include "catalogue/Catalogue.h"
#include "mainwindow/MainUnit.h"
#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class QTreeView;

namespace vorbix::test {

// Six programs whose publishers and names exercise the sort and the type-ahead (all of
// type "Game"), the filters "Acornsoft only" and "bbc none" (which nothing passes), the
// emulators "BeebEm" and "b2", and "BeebEm" remembered as the last emulator.
Catalogue SixPrograms();

// An application folder whose catalogue files hold the given catalogue.
void WriteAppDir(Catalogue catalogue, const std::string& appDir);

// Exit and the error handler end the application's message loop; outside a loop that
// leaves a request to quit standing, which would end every later modal loop at once. A
// message loop of its own clears it.
void ClearQuitRequest();

// A main window over a fresh catalogue from appDir, shown (start-up done, no splash wait).
struct StartedWindow {
    Catalogue catalogue;
    FakePrompts prompts;
    RecordingShell shell;
    std::unique_ptr<vorbix::gui::TMainForm> form;

    explicit StartedWindow(const std::string& appDir, bool show = true);
    ~StartedWindow();

    template <typename T>
    T* Find(const char* name) const
    {
        return form->findChild<T*>(name);
    }

    QTreeView* List() const;
    // The name of the selected program, "" when no row is selected.
    std::string SelectedName() const;
    // The text of status panel 1 to 5.
    std::string Panel(int number) const;
    bool Enabled(const char* action) const;
    // A left click on the list's column header.
    void ClickHeader(int column) const;
};

// A temporary application folder and the windows a test starts over it, which end before
// the folder goes.
class WindowTest : public ::testing::Test {
protected:
    ~WindowTest() override;

    // Writes the catalogue into the folder and starts a window over it.
    StartedWindow& Start(const Catalogue& catalogue, bool show = true);
    // A window over what the folder holds.
    StartedWindow& Start(bool show = true);

    TempDir dir;

private:
    std::vector<std::unique_ptr<StartedWindow>> windows_;
};

// A JPEG file of the given size, one grey, made with the core's JPEG writer.
std::string JpegBytes(int width, int height);

} // namespace vorbix::test
