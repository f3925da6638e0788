#include "editing/LinksUnit.h"
#include "editing/SingleProgramOptionsUnit.h"

#include "catalogue/Catalogue.h"
#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/RecordingShell.h"
#include "support/gui/DialogTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace vorbix;
using namespace vorbix::test;

namespace {

class ProgramOptionsForm : public DialogTest {
protected:
    gui::TLinksForm links{catalogue, prompts};
    gui::TSingleProgramOptionsForm form{catalogue, prompts, shell, links};

    ProgramOptionsForm()
    {
        catalogue.Publishers = Names({"Acornsoft", "Superior"});
        catalogue.ProgramTypes = Names({"Adventure", "Game"});
        EmuRecord beebem;
        beebem.EmuName = "BeebEm";
        EmuRecord b2;
        b2.EmuName = "b2";
        catalogue.EmuList = {beebem, b2};
    }

    template <typename T>
    T* Find(const char* name) const
    {
        return form.findChild<T*>(name);
    }
    QLineEdit* Line(const char* name) const { return Find<QLineEdit>(name); }
    QComboBox* Box(const char* name) const { return Find<QComboBox>(name); }
    QTreeWidget* Links() const { return Find<QTreeWidget>("ListView1"); }
    void Click(const char* name) const { QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton); }
    void Ok() const { Click("OKButton"); }
    void ShowInformation() const { Find<QTabWidget>("PageControl1")->setCurrentIndex(1); }

    // Edits while the dialog is open: the steps run once it shows.
    std::optional<ProgramRecord> Edit(const ProgramRecord& record, const std::function<void()>& steps)
    {
        WhileShown(form, steps);
        return form.Edit(record);
    }

    // The link dialog's steps for the next time it opens: a name typed and a file chosen.
    void NextLink(const std::string& name, const std::string& file)
    {
        auto* waiting = new QTimer(&links);
        waiting->start(5);
        QObject::connect(waiting, &QTimer::timeout, &links, [this, waiting, name, file] {
            if (!links.isVisible())
                return;
            waiting->deleteLater();
            waiting->stop();
            links.findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(name));
            prompts.QueueChoice(file);
            QTest::mouseClick(links.findChild<QPushButton*>("BrowseButton1"), Qt::LeftButton);
            QTest::mouseClick(links.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
            if (links.isVisible())
                links.reject();
        });
    }

    std::vector<std::string> LinkNames() const
    {
        std::vector<std::string> names;
        for (int row = 0; row < Links()->topLevelItemCount(); ++row)
            names.push_back(Links()->topLevelItem(row)->text(0).toStdString());
        return names;
    }
    int SelectedLink() const
    {
        const QList<QTreeWidgetItem*> selected = Links()->selectedItems();
        return selected.isEmpty() ? -1 : Links()->indexOfTopLevelItem(selected.front());
    }
    void ClickLink(int row) const
    {
        const QRect rect = Links()->visualItemRect(Links()->topLevelItem(row));
        QTest::mouseClick(Links()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // New, Edit, Delete, up, down, Sort: which are enabled.
    std::string LinkButtons() const
    {
        std::string states;
        for (const char* name :
            {"NewLinkButton", "EditLinkButton", "DeleteLinkButton", "UpLinkButton", "DownLinkButton", "SortLinkButton"})
            states += Find<QAbstractButton>(name)->isEnabled() ? '1' : '0';
        return states;
    }
};

// Moves the focus on with Tab, as the user leaves a box.
void TabFrom(QWidget* widget, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(widget, Qt::Key_Tab, modifiers);
}

// Whether the widget, or the text box of a drop-down, has the focus.
bool Focused(const QWidget* widget)
{
    const QWidget* focused = QApplication::focusWidget();
    return focused && (focused == widget || focused->parentWidget() == widget);
}

void Retype(QWidget* widget, const char* text)
{
    widget->setFocus(Qt::TabFocusReason);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    if (*text)
        QTest::keyClicks(widget, text);
    else
        QTest::keyClick(widget, Qt::Key_Delete);
}

ProgramRecord WithLinks(int count)
{
    ProgramRecord program = MakeProgram("Acornsoft", "Elite");
    for (int i = 0; i < count; ++i) {
        program.DocLinkNames.push_back("Link " + std::to_string(i));
        program.DocLinkUrls.push_back("");
    }
    return program;
}

} // namespace

TEST_F(ProgramOptionsForm, ShowingStartsOnGeneralWithNameFocusedAndTheFirstWarningAndCancelReturnsNothing)
{
    ProgramRecord program = MakeProgram("Acornsoft", "Elite", "Game", "/beeb/Elite.ssd");
    // b2 comes first in the selector, but only BeebEm and an emulator no longer defined
    // have a warning.
    program.EmuWarningEmus = {"Gone", "b2", "BeebEm"};
    program.EmuWarningTexts = {"Old", "", "Slow"};
    program.Comments = {"First line", "Second line"};

    // A use that ends on the Information page with the caret elsewhere, and is cancelled.
    EXPECT_EQ(Edit(program,
                  [&] {
                      EXPECT_EQ(form.windowTitle(), "Program Options");
                      ShowInformation();
                      Find<QPlainTextEdit>("Memo1")->moveCursor(QTextCursor::End);
                      Line("Edit1")->setText("Changed");
                      Click("CancelButton");
                  }),
        std::nullopt);

    Edit(program, [&] {
        EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 0);
        EXPECT_EQ(QApplication::focusWidget(), Line("Edit1"));
        EXPECT_EQ(Line("Edit1")->text(), "Elite");
        EXPECT_EQ(Box("ComboBox3")->currentText(), "BeebEm");
        EXPECT_EQ(Line("Edit3")->text(), "Slow");
        ASSERT_EQ(Box("ComboBox3")->count(), 2);
        EXPECT_EQ(Box("ComboBox3")->itemText(0), "b2");
        EXPECT_EQ(Box("ComboBox3")->itemText(1), "BeebEm");
        const QTextCursor caret = Find<QPlainTextEdit>("Memo1")->textCursor();
        EXPECT_EQ(caret.position(), 0);
        EXPECT_FALSE(caret.hasSelection());
        Click("HelpButton");
        QTest::keyClick(Line("Edit1"), Qt::Key_Escape);
    });
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"Cannot find file " + dir / "HELP/PROGS.HTM"}));
    prompts.shown.clear();

    // With no emulator nothing is shown; "E00 DFS" follows the DFS ROM images.
    catalogue.EmuList.clear();
    catalogue.DfsRomsPresent = false;
    Edit(program, [&] {
        EXPECT_EQ(Box("ComboBox3")->count(), 0);
        EXPECT_EQ(Box("ComboBox3")->currentText(), "");
        EXPECT_EQ(Line("Edit3")->text(), "");
        EXPECT_FALSE(Find<QCheckBox>("CheckBox2")->isEnabled());
    });
    catalogue.DfsRomsPresent = true;
    Edit(program, [&] { EXPECT_TRUE(Find<QCheckBox>("CheckBox2")->isEnabled()); });
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ProgramOptionsForm, ImageChooserStartsAtTheFileOrLastProgramDirAndProposesOnlyIntoEmptyBoxes)
{
    // Both match the folder "AcornSoft"; the later one is proposed.
    catalogue.Publishers = Names({"Acorn Soft", "AcornSoft", "Superior"});
    ASSERT_EQ(catalogue.Publishers[1], "AcornSoft");
    catalogue.LastProgramDir = "/beeb/";

    const std::optional<ProgramRecord> edited = Edit(ProgramRecord{}, [&] {
        prompts.QueueChoice("/games/AcornSoft/ChuckieEgg.ssd");
        Click("BrowseButton1");
        EXPECT_EQ(Line("Edit1")->text(), "Chuckie Egg");
        EXPECT_EQ(Line("Edit2")->text(), "/games/AcornSoft/ChuckieEgg.ssd");
        EXPECT_EQ(Box("ComboBox1")->currentText(), "AcornSoft");
        // A name typed and a cleared publisher: only the publisher is proposed.
        Line("Edit1")->setText("My Repton");
        Box("ComboBox1")->setEditText("");
        prompts.QueueChoice("/games/Superior/RepTon3.ssd");
        Click("BrowseButton1");
        EXPECT_EQ(Line("Edit1")->text(), "My Repton");
        EXPECT_EQ(Box("ComboBox1")->currentText(), "Superior");
        // Cancelling the chooser changes nothing.
        Click("BrowseButton1");
        EXPECT_EQ(Line("Edit2")->text(), "/games/Superior/RepTon3.ssd");
        Ok();
    });
    ASSERT_EQ(prompts.fileRequests.size(), 3u);
    EXPECT_EQ(prompts.fileRequests[0],
        (FileOpenRequest{"Disk/rom images|*.SSD; *.DSD; *.IMG; *.BBC; *.ADF; *.UEF; *.ZIP;*.ROM", "/beeb/", "", true}));
    EXPECT_EQ(prompts.fileRequests[1].InitialDir, "/games/AcornSoft/");
    EXPECT_EQ(prompts.fileRequests[1].FileName, "ChuckieEgg.ssd");
    EXPECT_EQ(prompts.fileRequests[2].FileName, "RepTon3.ssd");
    EXPECT_EQ(catalogue.LastProgramDir, "/games/Superior/");
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->ProgramName, "My Repton");
    EXPECT_EQ(edited->FileUrl, "/games/Superior/RepTon3.ssd");
    EXPECT_EQ(edited->PublisherName, "Superior");
}

TEST_F(ProgramOptionsForm, PublisherAndTypeKeepAKnownTextAsTypedAndLoseAnUnknownOneOnLeaving)
{
    const std::optional<ProgramRecord> edited = Edit(MakeProgram("Superior", "Elite", "Game"), [&] {
        QComboBox* publisher = Box("ComboBox1");
        QComboBox* type = Box("ComboBox2");
        Retype(publisher, "Acorn");
        TabFrom(publisher);
        EXPECT_EQ(publisher->currentText(), "");
        EXPECT_TRUE(Focused(type));
        Retype(publisher, "acornsoft");
        TabFrom(publisher);
        EXPECT_EQ(publisher->currentText(), "acornsoft");
        Retype(type, "Gam");
        TabFrom(type);
        EXPECT_EQ(type->currentText(), "");
        Retype(type, "ADVENTURE");
        TabFrom(type);
        EXPECT_EQ(type->currentText(), "ADVENTURE");
        // Enter in a box is OK.
        QTest::keyClick(publisher, Qt::Key_Return);
    });
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->PublisherName, "acornsoft");
    EXPECT_EQ(edited->ProgramType, "ADVENTURE");
}

TEST_F(ProgramOptionsForm, APublisherOrTypeOutsideTheListsStaysAsLoadedUntilTheUserChangesIt)
{
    // The catalogue keeps a publisher and a type that the category lists do not hold.
    const ProgramRecord program = MakeProgram("Gone Ltd", "Elite", "Demo");

    // The focus passes from "Name" through both boxes to "Favourite"; Enter there is OK.
    const std::optional<ProgramRecord> passed = Edit(program, [&] {
        for (int i = 0; i < 5; ++i)
            Stroke(Qt::Key_Tab);
        EXPECT_TRUE(Focused(Find<QCheckBox>("CheckBox1")));
        EXPECT_EQ(Box("ComboBox1")->currentText(), "Gone Ltd");
        EXPECT_EQ(Box("ComboBox2")->currentText(), "Demo");
        Stroke(Qt::Key_Return);
    });
    ASSERT_TRUE(passed);
    EXPECT_EQ(*passed, program);

    // Enter while the focus is still in "Publisher".
    const std::optional<ProgramRecord> entered = Edit(program, [&] {
        for (int i = 0; i < 3; ++i)
            Stroke(Qt::Key_Tab);
        EXPECT_TRUE(Focused(Box("ComboBox1")));
        Stroke(Qt::Key_Return);
    });
    ASSERT_TRUE(entered);
    EXPECT_EQ(entered->PublisherName, "Gone Ltd");

    // Changed by the user: an unknown text goes, a known one stays as typed.
    const std::optional<ProgramRecord> changed = Edit(program, [&] {
        for (int i = 0; i < 3; ++i)
            Stroke(Qt::Key_Tab);
        Stroke(Qt::Key_End);
        TypeKeys("s");
        Stroke(Qt::Key_Tab);
        EXPECT_EQ(Box("ComboBox1")->currentText(), "");
        EXPECT_TRUE(Focused(Box("ComboBox2")));
        Stroke(Qt::Key_A, Qt::ControlModifier);
        TypeKeys("game");
        Stroke(Qt::Key_Tab);
        Stroke(Qt::Key_Return);
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->PublisherName, "");
    EXPECT_EQ(changed->ProgramType, "game");

    // Changed to an unknown text and Enter while the focus is still in the box: the text
    // goes as on leaving, in either box.
    for (const int tabs : {3, 4}) {
        const std::optional<ProgramRecord> typedThenEntered = Edit(program, [&] {
            for (int i = 0; i < tabs; ++i)
                Stroke(Qt::Key_Tab);
            Stroke(Qt::Key_End);
            TypeKeys("s");
            Stroke(Qt::Key_Return);
        });
        ASSERT_TRUE(typedThenEntered);
        EXPECT_EQ(typedThenEntered->PublisherName, tabs == 3 ? "" : "Gone Ltd");
        EXPECT_EQ(typedThenEntered->ProgramType, tabs == 3 ? "Demo" : "");
    }
}

TEST_F(ProgramOptionsForm, CommentsTheUserDidNotEditAreStoredAsLoadedAndAnEditIsStored)
{
    // One line of 300 characters, far wider than the box.
    std::string longLine;
    for (int i = 0; i < 30; ++i)
        longLine += i < 29 ? "abcdefghi " : "abcdefghi.";
    ASSERT_EQ(longLine.size(), 300u);
    ProgramRecord program = MakeProgram("Acornsoft", "Elite");
    program.Comments = {longLine, "", "  indented"};

    // Ctrl+Tab brings the Information page, and a click puts the caret in the comment box.
    const auto toComments = [&] {
        Stroke(Qt::Key_Tab, Qt::ControlModifier);
        ASSERT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 1);
        QTest::mouseClick(Find<QPlainTextEdit>("Memo1")->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        ASSERT_TRUE(Focused(Find<QPlainTextEdit>("Memo1")));
    };
    const std::optional<ProgramRecord> edited = Edit(program, [&] {
        toComments();
        Stroke(Qt::Key_End, Qt::ControlModifier);
        Stroke(Qt::Key_Return);
        TypeKeys("Typed");
        Stroke(Qt::Key_Tab);
        Ok();
    });
    ASSERT_TRUE(edited);
    ASSERT_GE(edited->Comments.size(), 4u);
    EXPECT_EQ(edited->Comments[edited->Comments.size() - 2], "  indented");
    EXPECT_EQ(edited->Comments.back(), "Typed");

    // The next use, untouched: an edit of the last use does not count.
    const std::optional<ProgramRecord> untouched = Edit(program, [&] {
        toComments();
        for (int i = 0; i < 4; ++i)
            Stroke(Qt::Key_Tab);
        Ok();
    });
    ASSERT_TRUE(untouched);
    EXPECT_EQ(untouched->Comments, program.Comments);
}

TEST_F(ProgramOptionsForm, CommentLinesComeBackAsTheBoxDisplaysThem)
{
    std::string longLine;
    for (int i = 0; i < 30; ++i)
        longLine += "word" + std::to_string(i) + " ";
    longLine += "end";
    ProgramRecord program = MakeProgram("Acornsoft", "Elite");
    program.Comments = {longLine, "Short"};

    const std::optional<ProgramRecord> edited = Edit(program, [&] {
        ShowInformation();
        QPlainTextEdit* memo = Find<QPlainTextEdit>("Memo1");
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        // A typed line, then an empty last line, which is not stored.
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, "Typed");
        QTest::keyClick(memo, Qt::Key_Return);
        Ok();
    });
    ASSERT_TRUE(edited);
    const StringList& comments = edited->Comments;
    ASSERT_GE(comments.size(), 4u);
    // The long line is split where the box wrapped it, nothing lost or added.
    std::string joined;
    for (std::size_t i = 0; i + 2 < comments.size(); ++i) {
        EXPECT_LT(comments[i].size(), longLine.size());
        joined += comments[i];
    }
    EXPECT_EQ(joined, longLine);
    EXPECT_EQ(comments[comments.size() - 2], "Short");
    EXPECT_EQ(comments.back(), "Typed");
}

TEST_F(ProgramOptionsForm, WarningsFollowTheSelectorAClearedOneGoesAndAnUndefinedEmulatorsStays)
{
    ProgramRecord program = MakeProgram("Acornsoft", "Elite");
    program.EmuWarningEmus = {"BeebEm", "Gone", "b2"};
    program.EmuWarningTexts = {"Slow", "\xE9t\xE9 only", "Fast"};

    const std::optional<ProgramRecord> edited = Edit(program, [&] {
        ShowInformation();
        QComboBox* selector = Box("ComboBox3");
        QLineEdit* warning = Line("Edit3");
        EXPECT_EQ(selector->currentText(), "b2");
        EXPECT_EQ(warning->text(), "Fast");
        Retype(selector, "BeebEm");
        EXPECT_EQ(warning->text(), "Slow");
        TabFrom(selector);
        EXPECT_TRUE(Focused(warning));
        // Spaces only remove the warning.
        Retype(warning, "  ");
        // Picking from the list shows the picked emulator's warning.
        selector->setFocus(Qt::TabFocusReason);
        selector->setCurrentIndex(0);
        EXPECT_EQ(warning->text(), "Fast");
        // A text that names no emulator gives way, on leaving, to the one it held when the
        // focus came in.
        TabFrom(selector);
        TabFrom(warning, Qt::ShiftModifier);
        EXPECT_TRUE(Focused(selector));
        Retype(selector, "Nope");
        EXPECT_EQ(warning->text(), "");
        TabFrom(selector);
        EXPECT_EQ(selector->currentText(), "b2");
        EXPECT_EQ(warning->text(), "Fast");
        QTest::keyClick(warning, Qt::Key_End);
        QTest::keyClicks(warning, "er");
        Retype(selector, "BeebEm");
        EXPECT_EQ(warning->text(), "");
        Ok();
    });
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->EmuWarningEmus, (StringList{"Gone", "b2"}));
    EXPECT_EQ(edited->EmuWarningTexts, (StringList{"\xE9t\xE9 only", "Faster"}));
}

TEST_F(ProgramOptionsForm, TheWarningBoxIsDisabledWhileTheSelectorNamesNoEmulator)
{
    const ProgramRecord program = MakeProgram("Acornsoft", "Elite");
    QLineEdit* warning = Line("Edit3");

    // No warning yet: the selector starts empty and Tab passes the warning box by.
    const std::optional<ProgramRecord> edited = Edit(program, [&] {
        Stroke(Qt::Key_Tab, Qt::ControlModifier);
        QTest::mouseClick(Find<QPlainTextEdit>("Memo1")->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        Stroke(Qt::Key_Tab);
        ASSERT_TRUE(Focused(Box("ComboBox3")));
        EXPECT_EQ(Box("ComboBox3")->currentText(), "");
        EXPECT_FALSE(warning->isEnabled());
        Stroke(Qt::Key_Tab);
        EXPECT_TRUE(Focused(Links()));
        TypeKeys("stray");
        // An emulator typed into the selector opens the box to its warning.
        Stroke(Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_TRUE(Focused(Box("ComboBox3")));
        TypeKeys("Beeb");
        EXPECT_FALSE(warning->isEnabled());
        TypeKeys("Em");
        EXPECT_TRUE(warning->isEnabled());
        Stroke(Qt::Key_Tab);
        ASSERT_TRUE(Focused(warning));
        TypeKeys("Slow");
        // Emptied again, the selector closes the box.
        Stroke(Qt::Key_Tab, Qt::ShiftModifier);
        Stroke(Qt::Key_A, Qt::ControlModifier);
        Stroke(Qt::Key_Delete);
        EXPECT_EQ(warning->text(), "");
        EXPECT_FALSE(warning->isEnabled());
        Ok();
    });
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->EmuWarningEmus, (StringList{"BeebEm"}));
    EXPECT_EQ(edited->EmuWarningTexts, (StringList{"Slow"}));

    // With no emulator defined there is nothing a warning could be stored for.
    catalogue.EmuList.clear();
    const std::optional<ProgramRecord> none = Edit(program, [&] {
        Stroke(Qt::Key_Tab, Qt::ControlModifier);
        QTest::mouseClick(Find<QPlainTextEdit>("Memo1")->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        Stroke(Qt::Key_Tab);
        EXPECT_FALSE(warning->isEnabled());
        Stroke(Qt::Key_Tab);
        TypeKeys("Slow");
        Ok();
    });
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->EmuWarningEmus.empty());
    EXPECT_TRUE(none->EmuWarningTexts.empty());
}

TEST_F(ProgramOptionsForm, LinkButtonsFollowTheRowsAndTheLimit)
{
    const std::optional<ProgramRecord> edited = Edit(WithLinks(1), [&] {
        ShowInformation();
        EXPECT_EQ(LinkButtons(), "100000");
        ClickLink(0);
        // One row selected: neither arrow.
        EXPECT_EQ(LinkButtons(), "111000");
        // Alt+N on this page is "&New"; the new row is selected at the end.
        NextLink("A new one", "/docs/new.txt");
        // An access key clicks its button a moment later, as a click would look.
        QTest::keyClick(Links(), Qt::Key_N, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return LinkNames().size() == 2; }));
        EXPECT_EQ(LinkNames(), (std::vector<std::string>{"Link 0", "A new one"}));
        EXPECT_EQ(SelectedLink(), 1);
        EXPECT_EQ(LinkButtons(), "111101");
        Click("UpLinkButton");
        EXPECT_EQ(LinkNames(), (std::vector<std::string>{"A new one", "Link 0"}));
        EXPECT_EQ(SelectedLink(), 0);
        EXPECT_EQ(LinkButtons(), "111011");
        Click("DownLinkButton");
        EXPECT_EQ(SelectedLink(), 1);
        // Sort: by name, case-sensitive; nothing selected after it.
        Click("SortLinkButton");
        EXPECT_EQ(LinkNames(), (std::vector<std::string>{"A new one", "Link 0"}));
        EXPECT_EQ(SelectedLink(), -1);
        EXPECT_EQ(LinkButtons(), "100001");
        // A double click (its first click selects the row) edits the row.
        NextLink("Renamed", "/docs/renamed.txt");
        ClickLink(1);
        const QRect rect = Links()->visualItemRect(Links()->topLevelItem(1));
        QTest::mouseDClick(Links()->viewport(), Qt::LeftButton, {}, rect.center());
        EXPECT_EQ(LinkNames(), (std::vector<std::string>{"A new one", "Renamed"}));
        Ok();
    });
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->DocLinkNames, (StringList{"A new one", "Renamed"}));
    EXPECT_EQ(edited->DocLinkUrls, (StringList{"/docs/new.txt", "/docs/renamed.txt"}));

    // The 14th link disables "&New"; a program loaded with more keeps them all.
    const std::optional<ProgramRecord> full = Edit(WithLinks(13), [&] {
        ShowInformation();
        EXPECT_EQ(LinkButtons()[0], '1');
        NextLink("Fourteenth", "/docs/14.txt");
        Click("NewLinkButton");
        EXPECT_EQ(LinkButtons(), "011101");
        Ok();
    });
    ASSERT_TRUE(full);
    EXPECT_EQ(full->DocLinkNames.size(), 14u);
    EXPECT_EQ(Edit(WithLinks(16),
                  [&] {
                      EXPECT_EQ(LinkButtons()[0], '0');
                      Ok();
                  })
                  ->DocLinkNames.size(),
        16u);
}

TEST_F(ProgramOptionsForm, DeletingALinkSelectsTheNextRowAndCancelKeepsIt)
{
    ProgramRecord program = MakeProgram("Acornsoft", "Elite");
    program.DocLinkNames = {"Manual", "Map", "Poster"};
    program.DocLinkUrls = {"", "/docs/beeb/map.txt", "/nowhere/poster.jpg"};

    const std::optional<ProgramRecord> edited = Edit(program, [&] {
        ShowInformation();
        // The last row: Cancel keeps it, Yes removes it although its file is missing,
        // and the new last row is selected.
        ClickLink(2);
        prompts.QueueAnswer(MessageAnswer::Cancel);
        Click("DeleteLinkButton");
        EXPECT_EQ(LinkNames().size(), 3u);
        EXPECT_EQ(SelectedLink(), 2);
        prompts.QueueAnswer(MessageAnswer::Yes);
        QTest::keyClick(Links(), Qt::Key_Delete);
        EXPECT_EQ(LinkNames(), (std::vector<std::string>{"Manual", "Map"}));
        EXPECT_EQ(SelectedLink(), 1);
        // The first row (no file, no question): the row that moves up is selected.
        ClickLink(0);
        QTest::keyClick(Links(), Qt::Key_Delete);
        EXPECT_EQ(LinkNames(), (std::vector<std::string>{"Map"}));
        EXPECT_EQ(SelectedLink(), 0);
        // The only row: nothing selected afterwards.
        prompts.QueueAnswer(MessageAnswer::No);
        Click("DeleteLinkButton");
        EXPECT_TRUE(LinkNames().empty());
        EXPECT_EQ(SelectedLink(), -1);
        EXPECT_EQ(LinkButtons(), "100000");
        Ok();
    });
    EXPECT_EQ(prompts.Texts(),
        (std::vector<std::string>{"Also delete associated file (poster.jpg)?",
            "Also delete associated file (poster.jpg)?", "Cannot find file /nowhere/poster.jpg",
            "Also delete associated file (map.txt)?"}));
    ASSERT_TRUE(edited);
    EXPECT_TRUE(edited->DocLinkNames.empty());
    EXPECT_TRUE(edited->DocLinkUrls.empty());
}

TEST_F(ProgramOptionsForm, UntouchedFieldsComeBackByteForByteAndTypedOnesAsUtf8)
{
    // A catalogue written on Windows: Windows-1252 bytes, not valid UTF-8.
    catalogue.Publishers = Names({"Acornsoft", "Soci\xE9t\xE9"});
    catalogue.ProgramTypes = Names({"Jeu \xE0 deux"});
    std::string longLine;
    for (int i = 0; i < 20; ++i)
        longLine += "caf\xE9 cr\xE8me ";
    ProgramRecord program;
    program.ProgramName = "\xC9lite \x80";
    program.FileUrl = "C:\\Jeux\\\xC9lite.ssd";
    program.PublisherName = "Soci\xE9t\xE9";
    program.ProgramType = "Jeu \xE0 deux";
    program.Favourite = true;
    program.Comments = {longLine, "\xE0 bient\xF4t"};
    program.EmuWarningEmus = {"BeebEm", "\xC9mu"};
    program.EmuWarningTexts = {"Trop l\xE9nt",
        "D\xE9"
        "fini nulle part"};
    program.DocLinkNames = {"Manuel \xE9"};
    program.DocLinkUrls = {"C:\\Docs\\\xE9.txt"};

    const auto untouched = [&] {
        // The focus passes through every box and nothing is typed.
        for (int i = 0; i < 12; ++i)
            TabFrom(QApplication::focusWidget());
        ShowInformation();
        for (int i = 0; i < 6; ++i)
            TabFrom(QApplication::focusWidget());
        Ok();
    };
    const std::optional<ProgramRecord> edited = Edit(program, untouched);
    ASSERT_TRUE(edited);
    EXPECT_EQ(*edited, program);

    // What is typed is stored as UTF-8; the rest keeps its bytes, and the displayed pieces
    // of a long comment line are cut from its own bytes.
    const std::optional<ProgramRecord> typed = Edit(program, [&] {
        QTest::keyClick(Line("Edit1"), Qt::Key_End);
        QTest::keyClicks(Line("Edit1"), "!");
        ShowInformation();
        QPlainTextEdit* memo = Find<QPlainTextEdit>("Memo1");
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, "!");
        Ok();
    });
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->ProgramName, "\xC3\x89lite \xE2\x82\xAC!");
    EXPECT_EQ(typed->PublisherName, program.PublisherName);
    EXPECT_EQ(typed->EmuWarningTexts, program.EmuWarningTexts);
    ASSERT_GE(typed->Comments.size(), 3u);
    std::string joined;
    for (std::size_t i = 0; i + 1 < typed->Comments.size(); ++i)
        joined += typed->Comments[i];
    EXPECT_EQ(joined, longLine);
    EXPECT_EQ(typed->Comments.back(), "\xC3\xA0 bient\xC3\xB4t!");
}

TEST_F(ProgramOptionsForm, EveryControlIsReachedFromTheKeyboardInReadingOrder)
{
    catalogue.DfsRomsPresent = true;
    std::vector<std::string> general;
    std::vector<std::string> information;
    // A warning, so that the selector names an emulator and its warning box takes the focus.
    ProgramRecord program = WithLinks(3);
    program.EmuWarningEmus = {"b2"};
    program.EmuWarningTexts = {"Fast"};
    Edit(program, [&] {
        const auto walk = [](std::vector<std::string>& names, int steps) {
            for (int i = 0; i < steps; ++i) {
                QWidget* focused = QApplication::focusWidget();
                // An editable drop-down has the focus in its text box.
                QWidget* named = qobject_cast<QComboBox*>(focused->parentWidget()) ? focused->parentWidget() : focused;
                names.push_back(named->objectName().toStdString());
                TabFrom(focused);
            }
        };
        walk(general, 10);
        ShowInformation();
        Find<QPlainTextEdit>("Memo1")->setFocus(Qt::TabFocusReason);
        ClickLink(1);
        Find<QPlainTextEdit>("Memo1")->setFocus(Qt::TabFocusReason);
        walk(information, 10);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(general,
        (std::vector<std::string>{"Edit1", "Edit2", "BrowseButton1", "ComboBox1", "ComboBox2", "CheckBox1", "CheckBox2",
            "OKButton", "CancelButton", "HelpButton"}));
    EXPECT_EQ(information,
        (std::vector<std::string>{"Memo1", "ComboBox3", "Edit3", "ListView1", "NewLinkButton", "EditLinkButton",
            "DeleteLinkButton", "UpLinkButton", "DownLinkButton", "SortLinkButton"}));

    // Enter is OK from a text box.
    EXPECT_TRUE(Edit(WithLinks(0), [&] { QTest::keyClick(Line("Edit1"), Qt::Key_Return); }));
}
