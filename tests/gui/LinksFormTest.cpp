#include "editing/LinksUnit.h"

#include "catalogue/Catalogue.h"
#include "support/FakePrompts.h"
#include "support/gui/DialogTest.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace vorbix;
using namespace vorbix::test;

namespace {

class LinksForm : public DialogTest {
protected:
    gui::TLinksForm form{catalogue, prompts};

    template <typename T>
    T* Find(const char* name) const
    {
        return form.findChild<T*>(name);
    }

    // Edits while the dialog is open: the steps run once it shows.
    std::optional<DocLink> Edit(const DocLink& link, const std::function<void()>& steps)
    {
        WhileShown(form, steps);
        return form.Edit(link);
    }
};

// Where a chooser started: its folder and the file preset in it.
std::vector<std::pair<std::string, std::string>> StartFolders(const FakePrompts& prompts)
{
    std::vector<std::pair<std::string, std::string>> folders;
    for (const FileOpenRequest& request : prompts.fileRequests) {
        EXPECT_EQ(request.Filter.rfind("All Files|*", 0), 0u) << request.Filter;
        EXPECT_TRUE(request.MustExist);
        folders.emplace_back(request.InitialDir, request.FileName);
    }
    return folders;
}

} // namespace

TEST_F(LinksForm, OkRefusesABlankNameThenABlankFileAndTheDialogStaysOpen)
{
    QLineEdit* name = Find<QLineEdit>("Edit1");
    QLineEdit* file = Find<QLineEdit>("Edit2");
    bool stayedOpen = false;
    const std::optional<DocLink> edited = Edit({"Manual", ""}, [&] {
        EXPECT_EQ(form.windowTitle(), "Link");
        EXPECT_EQ(QApplication::focusWidget(), name);
        EXPECT_EQ(name->selectedText(), "Manual");
        EXPECT_TRUE(file->isReadOnly());
        // A name of spaces only is refused first, also when a file is chosen later.
        name->setText("   ");
        QTest::mouseClick(Find<QPushButton>("BitBtn1"), Qt::LeftButton);
        const bool openAfterName = form.isVisible();
        QTest::keyClicks(name, " Guide ");
        QTest::keyClick(name, Qt::Key_Return);
        stayedOpen = openAfterName && form.isVisible() && name->text() == "    Guide ";
        prompts.QueueChoice("/docs/guide.txt");
        QTest::mouseClick(Find<QPushButton>("BrowseButton1"), Qt::LeftButton);
        QTest::mouseClick(name, Qt::LeftButton);
        name->setText(" Guide ");
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"Please enter a link name", "Please enter a file name"}));
    // Texts come back as typed, spaces around the name included.
    EXPECT_EQ(edited, (DocLink{" Guide ", "/docs/guide.txt"}));

    // Cancel and Escape close without checks and return nothing.
    EXPECT_EQ(Edit({"", ""}, [&] { QTest::mouseClick(Find<QPushButton>("BitBtn2"), Qt::LeftButton); }), std::nullopt);
    EXPECT_EQ(Edit({"Manual", "/docs/m.txt"}, [&] { QTest::keyClick(name, Qt::Key_Escape); }), std::nullopt);
    EXPECT_EQ(prompts.shown.size(), 2u);
}

TEST_F(LinksForm, ChooserStartsAtTheFileElseLastDocDirElseLastProgramDir)
{
    catalogue.LastProgramDir = "/beeb/";
    auto browse = [&] { QTest::mouseClick(Find<QPushButton>("BrowseButton1"), Qt::LeftButton); };

    // Cancelled while LastDocDir is empty: starts in LastProgramDir and changes nothing.
    const std::optional<DocLink> cancelled = Edit({"Manual", ""}, [&] {
        browse();
        EXPECT_EQ(Find<QLineEdit>("Edit2")->text(), "");
        QTest::mouseClick(Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    });
    EXPECT_EQ(cancelled, std::nullopt); // no file, so OK was refused and the steps cancelled
    EXPECT_EQ(catalogue.LastDocDir, "");

    // A choice is shown and remembers its folder; the next chooser starts at that file.
    const std::optional<DocLink> chosen = Edit({"Manual", ""}, [&] {
        prompts.QueueChoice("/docs/beeb/manual.txt");
        browse();
        EXPECT_EQ(Find<QLineEdit>("Edit2")->text(), "/docs/beeb/manual.txt");
        browse();
        QTest::mouseClick(Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    });
    EXPECT_EQ(chosen, (DocLink{"Manual", "/docs/beeb/manual.txt"}));
    EXPECT_EQ(catalogue.LastDocDir, "/docs/beeb/");

    // A new link starts in LastDocDir now.
    Edit({"", ""}, browse);
    using Start = std::pair<std::string, std::string>;
    EXPECT_EQ(StartFolders(prompts),
        (std::vector<Start>{{"/beeb/", ""}, {"/beeb/", ""}, {"/docs/beeb/", "manual.txt"}, {"/docs/beeb/", ""}}));
}

TEST_F(LinksForm, AnUntouchedLinkComesBackByteForByteAndATypedNameAsUtf8)
{
    const DocLink windows1252{"\xC9tude \x80", "C:\\Docs\\\xE9t\xE9.txt"};
    const auto ok = [&] { QTest::mouseClick(Find<QPushButton>("BitBtn1"), Qt::LeftButton); };
    EXPECT_EQ(Edit(windows1252, ok), windows1252);
    EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), QString::fromUtf8("\xC3\x89tude \xE2\x82\xAC"));

    const std::optional<DocLink> typed = Edit(windows1252, [&] {
        QLineEdit* name = Find<QLineEdit>("Edit1");
        QTest::keyClick(name, Qt::Key_End);
        QTest::keyClicks(name, "s");
        ok();
    });
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->Name,
        "\xC3\x89tude \xE2\x82\xAC"
        "s");
    EXPECT_EQ(typed->Url, windows1252.Url);
}
