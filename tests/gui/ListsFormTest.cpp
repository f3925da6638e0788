// The categories window over a catalogue: adding and deleting through the real controls,
// the keys, and what a showing resets.

#include "support/RecordingShell.h"
#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include "mainwindow/ListsUnit.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorbix;
using namespace vorbix::test;

namespace {

using Texts = std::vector<std::string>;

struct ListsForm : FormTest<vorbix::gui::TListsForm> {
    QListWidget* List(const char* name) const { return Find<QListWidget>(name); }

    void Type(const char* edit, const QString& text) const
    {
        Find<QLineEdit>(edit)->clear();
        QTest::keyClicks(Find<QLineEdit>(edit), text);
    }
    void Click(const char* button) const { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
};

// What the list shows, in order.
Texts Shown(const QListWidget* list)
{
    Texts texts;
    for (int row = 0; row < list->count(); ++row)
        texts.push_back(list->item(row)->text().toStdString());
    return texts;
}

} // namespace

TEST_F(ListsForm, AddKeepsTheListSortedTrimsTheEndAndRefusesBlanksAndDuplicates)
{
    catalogue.Publishers = Names({"Superior", "Acornsoft", "Caf\xe9"}); // a Windows-1252 name
    catalogue.ProgramTypes = Names({"Game"});
    form.show();
    EXPECT_EQ(form.windowTitle(), "Categories");
    EXPECT_EQ(form.size(), QSize(367, 377));
    EXPECT_EQ(Shown(List("PublishersList")), (Texts{"Acornsoft", "Café", "Superior"}));
    EXPECT_EQ(form.focusWidget(), List("PublishersList"));
    // Neither list has a current entry: Down selects the first, in the list the window
    // opens in and in the one Tab leads to.
    Activate(&form);
    Stroke(Qt::Key_Down);
    EXPECT_EQ(SelectedRow(List("PublishersList")), 0);
    EXPECT_TRUE(Find<QPushButton>("DeletePublisherButton")->isEnabled());
    for (int i = 0; i < 4; ++i)
        Stroke(Qt::Key_Tab);
    ASSERT_EQ(form.focusWidget(), List("TypesList"));
    Stroke(Qt::Key_Down);
    EXPECT_EQ(SelectedRow(List("TypesList")), 0);

    // Enter in the field adds (the dialog stays open), the field empties and keeps the focus.
    QLineEdit* edit = Find<QLineEdit>("PublisherEdit");
    Type("PublisherEdit", "Zeta  ");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Shown(List("PublishersList")), (Texts{"Acornsoft", "Café", "Superior", "Zeta"}));
    EXPECT_EQ(SelectedRow(List("PublishersList")), 3);
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(form.focusWidget(), edit);
    EXPECT_TRUE(Find<QPushButton>("DeletePublisherButton")->isEnabled());

    // A leading blank stays and sorts first; a case variant is a second entry, lower case
    // first; the Add button puts the focus back into the field.
    Type("PublisherEdit", " Beta");
    Click("AddPublisherButton");
    EXPECT_EQ(SelectedRow(List("PublishersList")), 0);
    EXPECT_EQ(form.focusWidget(), edit);
    Type("PublisherEdit", "acornsoft");
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(SelectedRow(List("PublishersList")), 1);
    const Texts expected{" Beta", "acornsoft", "Acornsoft", "Caf\xe9", "Superior", "Zeta"};
    EXPECT_EQ(catalogue.Publishers.Items(), expected); // the Windows-1252 bytes survive

    // An exact duplicate (blanks aside) and blanks only are refused and stay in the field.
    for (const QString refused : {"Zeta ", "   "}) {
        Type("PublisherEdit", refused);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(edit->text(), refused);
        EXPECT_EQ(catalogue.Publishers.Items(), expected);
    }
    EXPECT_TRUE(form.isVisible());

    // The types section works on its own list.
    Type("TypeEdit", "Adventure");
    Click("AddTypeButton");
    EXPECT_EQ(catalogue.ProgramTypes.Items(), (Texts{"Adventure", "Game"}));
    EXPECT_EQ(catalogue.Publishers.Items(), expected);
    EXPECT_TRUE(form.TakeChange().Categories);
    EXPECT_FALSE(form.TakeChange().Categories);

    // A new showing empties the fields, clears the selections, scrolls to the top and
    // starts counting changes afresh.
    Type("TypeEdit", "left over");
    form.hide();
    catalogue.ProgramTypes.Add("Utility");
    form.show();
    EXPECT_EQ(Find<QLineEdit>("TypeEdit")->text(), "");
    EXPECT_EQ(Shown(List("TypesList")), (Texts{"Adventure", "Game", "Utility"}));
    EXPECT_EQ(SelectedRow(List("PublishersList")), -1);
    EXPECT_EQ(SelectedRow(List("TypesList")), -1);
    EXPECT_FALSE(Find<QPushButton>("DeletePublisherButton")->isEnabled());
    EXPECT_EQ(form.focusWidget(), List("PublishersList"));
    EXPECT_FALSE(form.TakeChange().Categories);
}

TEST_F(ListsForm, DeleteSelectsTheEntryThatMovedUpAndNeedsASelection)
{
    catalogue.ProgramTypes = Names({"a", "b", "c"});
    for (int i = 0; i < 20; ++i)
        catalogue.Publishers.Add("Publisher " + std::to_string(100 + i));
    form.show();
    QListWidget* types = List("TypesList");
    QPushButton* remove = Find<QPushButton>("DeleteTypeButton");

    // No selection: the button is disabled and the Delete key does nothing.
    EXPECT_FALSE(remove->isEnabled());
    QTest::keyClick(types, Qt::Key_Delete);
    EXPECT_EQ(catalogue.ProgramTypes.size(), 3u);
    EXPECT_FALSE(form.TakeChange().Categories);

    ClickRow(List("TypesList"), 1); // the middle: the next entry moves into its place
    EXPECT_TRUE(remove->isEnabled());
    Click("DeleteTypeButton");
    EXPECT_EQ(Shown(types), (Texts{"a", "c"}));
    EXPECT_EQ(SelectedRow(types), 1);
    QTest::keyClick(types, Qt::Key_Delete); // the last of several: the one before it
    EXPECT_EQ(Shown(types), (Texts{"a"}));
    EXPECT_EQ(SelectedRow(types), 0);
    QTest::keyClick(types, Qt::Key_Delete); // the only one
    EXPECT_TRUE(catalogue.ProgramTypes.empty());
    EXPECT_EQ(SelectedRow(types), -1);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_TRUE(form.TakeChange().Categories);
    EXPECT_EQ(catalogue.Publishers.size(), 20u);

    // The last of a long list is scrolled into view when selected, and back to the top on show.
    QListWidget* publishers = List("PublishersList");
    ClickRow(List("PublishersList"), 5);
    QTest::keyClick(publishers, Qt::Key_End);
    EXPECT_TRUE(Find<QPushButton>("DeletePublisherButton")->isEnabled());
    Click("DeletePublisherButton");
    EXPECT_EQ(SelectedRow(publishers), 18);
    EXPECT_TRUE(publishers->viewport()->rect().contains(publishers->visualItemRect(publishers->item(18))));
    form.hide();
    form.show();
    EXPECT_EQ(publishers->indexAt(QPoint(2, 2)).row(), 0);

    // A click below the last entry clears the selection, as in the program list.
    catalogue.ProgramTypes = Names({"x"});
    form.hide();
    form.show();
    ClickRow(List("TypesList"), 0);
    EXPECT_TRUE(remove->isEnabled());
    QTest::mouseClick(types->viewport(), Qt::LeftButton, {}, QPoint(5, types->viewport()->height() - 5));
    EXPECT_EQ(SelectedRow(types), -1);
    EXPECT_FALSE(remove->isEnabled());
}

TEST_F(ListsForm, EnterCloseAndEscapeCloseTheWindowTabFollowsTheReadingOrderAndHelpOpensItsPage)
{
    form.show();
    QTest::keyClick(List("PublishersList"), Qt::Key_Return); // "Close" is the default button
    EXPECT_FALSE(form.isVisible());
    form.show();
    QTest::keyClick(Find<QLineEdit>("TypeEdit"), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    form.show();
    Click("CloseButton");
    EXPECT_FALSE(form.isVisible());

    EXPECT_EQ(TabOrder(&form),
        (Texts{"PublishersList", "PublisherEdit", "AddPublisherButton", "DeletePublisherButton", "TypesList",
            "TypeEdit", "AddTypeButton", "DeleteTypeButton", "CloseButton", "HelpButton"}));

    EXPECT_EQ(Find<QPushButton>("HelpButton")->text(), "&Help");
    // A missing page is reported rather than handed to the desktop's opener.
    Click("HelpButton");
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(prompts.Texts(), (Texts{"Cannot find file " + dir / "HELP/CATEGOR.HTM"}));
}
