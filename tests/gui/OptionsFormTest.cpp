// The options dialog over a catalogue: every control writes its option at once, the
// source picture rule and chooser, and the DFS box at start-up.

#include "support/RecordingShell.h"
#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include "launching/OptionsUnit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorbix;
using namespace vorbix::test;

namespace {

using Texts = std::vector<std::string>;

struct OptionsForm : FormTest<vorbix::gui::TOptionsForm> {
    QCheckBox* Box(const char* name) const { return Find<QCheckBox>(name); }

    // A click on the box's square (the box may be wider than its caption).
    void Click(QCheckBox* box) const { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }
    void Click(const char* button) const { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

    // Whether the source picture's label, box and "..." are enabled, all three alike.
    bool PictureControlsEnabled() const
    {
        const bool label = Find<QLabel>("PictureLabel")->isEnabled();
        EXPECT_EQ(Find<QLineEdit>("PictureEdit")->isEnabled(), label);
        EXPECT_EQ(Find<QPushButton>("PictureButton")->isEnabled(), label);
        return label;
    }
};

struct BoundOption {
    const char* box;
    const char* caption;
    bool OtherOptions::*option;
};

const BoundOption kOptions[] = {
    {"CompatibilityWarningCheck", "Program compatibility warning", &OtherOptions::CompatibilityWarning},
    {"E00DfsWarningCheck", "E00 DFS warning", &OtherOptions::E00DfsWarning},
    {"CopyDiskBackCheck", "Copy disk image back from emulator working directory to program directory ",
        &OtherOptions::CopyDiskBack},
    {"CopyPictureCheck", "Copy picture file to program directory ", &OtherOptions::CopyPicture},
    {"AskAddToListCheck", "Ask to add to list", &OtherOptions::AskAddToList},
    {"UseE00DfsCheck", "Use E00 DFS", &OtherOptions::UseE00Dfs},
};

} // namespace

TEST_F(OptionsForm, CheckBoxesShowAndWriteTheirOptionsAtOnceAndTheKeyboardReachesEverything)
{
    catalogue.Options.E00DfsWarning = true;
    catalogue.Options.AskAddToList = true;
    catalogue.DfsRomsPresent = true;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Options");
    EXPECT_EQ(Find<QGroupBox>("WarningsGroup")->title(), "Show the following warnings before running an emulator...");
    EXPECT_EQ(Find<QGroupBox>("AfterRunGroup")->title(), "After running a BBC program with an emulator...");
    EXPECT_EQ(Find<QGroupBox>("AfterDropGroup")->title(),
        "After dropping a disk/rom image on the Vorbix main window...");
    EXPECT_EQ(form.focusWidget(), Box("CompatibilityWarningCheck"));

    for (const BoundOption& bound : kOptions) {
        SCOPED_TRACE(bound.box);
        QCheckBox* box = Box(bound.box);
        EXPECT_EQ(box->text().toStdString(), bound.caption);
        const bool before = catalogue.Options.*bound.option;
        EXPECT_EQ(box->isChecked(), before);
        OtherOptions expected = catalogue.Options;
        expected.*bound.option = !before;
        Click(box);
        EXPECT_EQ(catalogue.Options, expected); // this option changed, and only this one
        QTest::keyClick(box, Qt::Key_Space);
        EXPECT_EQ(catalogue.Options.*bound.option, before);
    }

    // A new showing shows what the catalogue holds now.
    form.hide();
    catalogue.Options.CopyDiskBack = true;
    catalogue.Options.E00DfsWarning = false;
    form.show();
    EXPECT_TRUE(Box("CopyDiskBackCheck")->isChecked());
    EXPECT_FALSE(Box("E00DfsWarningCheck")->isChecked());

    // Enter closes through "Close", the default button; so do Escape and "Close" itself.
    QTest::keyClick(Box("CopyDiskBackCheck"), Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    form.show();
    QTest::keyClick(Box("AskAddToListCheck"), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    form.show();
    Click("CloseButton");
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(catalogue.Options.CopyDiskBack);

    EXPECT_EQ(TabOrder(&form),
        (Texts{"CompatibilityWarningCheck", "E00DfsWarningCheck", "CopyDiskBackCheck", "CopyPictureCheck",
            "PictureEdit", "PictureButton", "AskAddToListCheck", "UseE00DfsCheck", "CloseButton", "HelpButton"}));
    EXPECT_EQ(Find<QPushButton>("HelpButton")->text(), "&Help");
    Click("HelpButton");
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(prompts.Texts(), (Texts{"Cannot find file " + dir / "HELP/OPTIONS.HTM"}));
    prompts.shown.clear();
}

TEST_F(OptionsForm, ThePictureControlsFollowTheCopyPictureBoxAndTheChooserFillsTheBox)
{
    catalogue.LastProgramDir = "/games/";
    catalogue.LastEmuDir = "/emus/";
    form.show();
    EXPECT_FALSE(PictureControlsEnabled());
    Click(Box("CopyPictureCheck"));
    EXPECT_TRUE(PictureControlsEnabled());

    // With no picture the chooser starts in the program folder; a name that does not exist
    // yet may be chosen, and lands in the box and in the options.
    const std::string shot = "/emus/beebem/not yet written.jpg";
    prompts.QueueChoice(shot);
    Click("PictureButton");
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0], (FileOpenRequest{"JPEG files|*.jpg", "/games/", "", false}));
    EXPECT_EQ(Find<QLineEdit>("PictureEdit")->text().toStdString(), shot);
    EXPECT_EQ(catalogue.Options.PictureUrl, shot);

    // Next time it starts at that picture; cancelling keeps it, and no folder is remembered.
    Click("PictureButton");
    EXPECT_EQ(prompts.fileRequests[1],
        (FileOpenRequest{"JPEG files|*.jpg", "/emus/beebem/", "not yet written.jpg", false}));
    EXPECT_EQ(catalogue.Options.PictureUrl, shot);
    EXPECT_EQ(catalogue.LastProgramDir, "/games/");
    EXPECT_EQ(catalogue.LastEmuDir, "/emus/");

    // Unchecking by the keyboard greys the controls but keeps the path; checking shows it again.
    QTest::keyClick(Box("CopyPictureCheck"), Qt::Key_Space);
    EXPECT_FALSE(PictureControlsEnabled());
    EXPECT_EQ(Find<QLineEdit>("PictureEdit")->text().toStdString(), shot);
    EXPECT_EQ(catalogue.Options.PictureUrl, shot);
    Click(Box("CopyPictureCheck"));
    EXPECT_TRUE(PictureControlsEnabled());
    EXPECT_EQ(Find<QLineEdit>("PictureEdit")->text().toStdString(), shot);

    // The rule is applied on show, to what the catalogue holds; a Windows-1252 path is
    // shown readably and kept byte for byte.
    form.hide();
    catalogue.Options.CopyPicture = false;
    catalogue.Options.PictureUrl = "/emus/Caf\xe9.jpg";
    form.show();
    EXPECT_FALSE(PictureControlsEnabled());
    EXPECT_EQ(Find<QLineEdit>("PictureEdit")->text(), "/emus/Café.jpg");
    EXPECT_TRUE(Find<QLineEdit>("PictureEdit")->isReadOnly());
    Click(Box("CopyPictureCheck"));
    Click("PictureButton"); // cancelled
    EXPECT_EQ(prompts.fileRequests[2].FileName, "Caf\xe9.jpg");
    EXPECT_EQ(catalogue.Options.PictureUrl, "/emus/Caf\xe9.jpg");

    // With no picture and no program folder it starts in the emulator folder.
    catalogue.Options.PictureUrl.clear();
    catalogue.LastProgramDir.clear();
    Click("PictureButton");
    EXPECT_EQ(prompts.fileRequests[3], (FileOpenRequest{"JPEG files|*.jpg", "/emus/", "", false}));
}

TEST_F(OptionsForm, UseE00DfsCannotBeChangedWithoutTheDfsRomsAndKeepsItsState)
{
    catalogue.Options.UseE00Dfs = true;
    catalogue.DfsRomsPresent = false;
    form.show();
    QCheckBox* box = Box("UseE00DfsCheck");
    EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(box->isChecked());
    Click(box);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(catalogue.Options.UseE00Dfs);

    // The next showing reads the catalogue again.
    form.hide();
    catalogue.DfsRomsPresent = true;
    form.show();
    EXPECT_TRUE(box->isEnabled());
    Click(box);
    EXPECT_FALSE(catalogue.Options.UseE00Dfs);
}
