#include "editing/OptionsEditing.h"

#include <gtest/gtest.h>

using namespace vorbix;

TEST(OptionsEditing, PictureChooserStartsAtThePictureElseTheProgramElseTheEmulatorFolder)
{
    Catalogue c;
    c.LastProgramDir = "/games/";
    c.LastEmuDir = "/emus/";
    // Any name may be chosen (MustExist false): the emulator writes the file after a run.
    EXPECT_EQ(PictureFileRequest("/emus/beebem/screen.jpg", c),
        (FileOpenRequest{"JPEG files|*.jpg", "/emus/beebem/", "screen.jpg", false}));
    EXPECT_EQ(PictureFileRequest("C:\\BeebEm\\shot.jpg", c),
        (FileOpenRequest{"JPEG files|*.jpg", "C:\\BeebEm\\", "shot.jpg", false}));
    EXPECT_EQ(PictureFileRequest("", c), (FileOpenRequest{"JPEG files|*.jpg", "/games/", "", false}));
    c.LastProgramDir.clear();
    EXPECT_EQ(PictureFileRequest("", c), (FileOpenRequest{"JPEG files|*.jpg", "/emus/", "", false}));
    c.LastEmuDir.clear();
    EXPECT_EQ(PictureFileRequest("", c).InitialDir, "");
}
