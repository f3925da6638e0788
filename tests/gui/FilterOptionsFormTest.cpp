// The filter list dialog and the filter dialog, driven through their widgets.

#include "support/Builders.h"
#include "support/gui/DialogTest.h"

#include "launching/FilterOptionsUnit.h"
#include "launching/SingleFilterOptionsUnit.h"
#include "mainwindow/TextBytes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace vorbix;
using namespace vorbix::test;

namespace {

FilterRecord Filter(const std::string& name, const std::string& publisher = "any")
{
    FilterRecord filter;
    filter.FilterName = name;
    filter.FPublisher = publisher;
    return filter;
}

class FilterOptionsForm : public DialogTest {
protected:
    FilterOptionsForm()
    {
        catalogue.Publishers = Names({"Superior", "Acornsoft", "Caf\xe9"});
        catalogue.ProgramTypes = Names({"Utility", "Game"});
    }

    template <typename T = QWidget>
    T* Single(const char* name)
    {
        return single.findChild<T*>(name);
    }
    QComboBox* Box(const char* name) { return Single<QComboBox>(name); }
    QTreeView* List() { return list.findChild<QTreeView*>("ListView1"); }
    QPushButton* Button(const char* name) { return list.findChild<QPushButton*>(name); }

    void Open() { DialogTest::Open(list); }
    void InDialog(std::function<void()> changes, bool ok = true) { DialogTest::InDialog(single, changes, ok); }
    // Types into a drop-down as a user does: the focus in it, its text selected and replaced.
    void TypeInto(QComboBox* box, const char* text)
    {
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), QString::fromUtf8(text));
    }
    void Tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    gui::TSingleFilterOptionsForm single{catalogue, prompts, shell};
    gui::TFilterOptionsForm list{catalogue, single};
};

} // namespace

TEST_F(FilterOptionsForm, RowsMapToTheirFiltersAndNewStoresTheDefaults)
{
    catalogue.FilterList = {Filter("Zed"), Filter("Beta"), Filter("acorn"), Filter("acorn")};
    Open();
    EXPECT_EQ(list.windowTitle(), "Filters");
    EXPECT_EQ(ListRows(List()),
        (std::vector<std::pair<std::string, std::string>>{{"acorn", "2"}, {"acorn", "3"}, {"Beta", "1"},
            {"Zed", "0"}}));
    EXPECT_FALSE(Button("EditButton")->isEnabled());

    // The third row is the filter at index 1.
    ClickRow(List(), 2);
    InDialog([&] {
        EXPECT_EQ(single.windowTitle(), "Filter");
        EXPECT_EQ(Single<QLineEdit>("NameEdit")->text(), "Beta");
        ClickBox(Single<QCheckBox>("FavouriteCheck"));
    });
    QTest::mouseClick(Button("EditButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.FilterList[1].FFavourite, FavouriteCondition::fcTrue);
    EXPECT_EQ(catalogue.FilterList[2].FFavourite, FavouriteCondition::fcDontCare);
    EXPECT_EQ(SelectedRow(List()), 2);

    // New with Cancel changes nothing; New with OK and no change stores the defaults shown.
    const CatalogueChange edited = list.TakeChange();
    EXPECT_TRUE(edited.Filters);
    EXPECT_FALSE(edited.Programs);
    InDialog([&] { Single<QLineEdit>("NameEdit")->setText("Unused"); }, false);
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.FilterList.size(), 4u);
    EXPECT_EQ(list.TakeChange(), CatalogueChange{});
    InDialog([&] {
        EXPECT_EQ(Single<QLineEdit>("NameEdit")->text(), "");
        EXPECT_EQ(Box("PublisherCompBox")->currentText(), "=");
        EXPECT_EQ(Box("PublisherBox")->currentText(), "any");
        EXPECT_EQ(Box("TypeCompBox")->currentText(), "=");
        EXPECT_EQ(Box("TypeBox")->currentText(), "any");
        EXPECT_EQ(Single<QCheckBox>("FavouriteCheck")->checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(Single<QLabel>("FavouriteCompLabel")->text(), "=");
    });
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    ASSERT_EQ(catalogue.FilterList.size(), 5u);
    EXPECT_EQ(catalogue.FilterList[4], FilterRecord{});
    EXPECT_EQ(ListRows(List())[static_cast<std::size_t>(SelectedRow(List()))],
        (std::pair<std::string, std::string>{"", "4"}));

    // Delete goes by the hidden index too: the third row is still Beta, at index 1.
    ClickRow(List(), 3);
    QTest::keyClick(List(), Qt::Key_Delete);
    ASSERT_EQ(catalogue.FilterList.size(), 4u);
    EXPECT_EQ(catalogue.FilterList[1].FilterName, "acorn");
    EXPECT_EQ(ListRows(List())[3].first, "Zed");
    EXPECT_EQ(SelectedRow(List()), 3);

    // Shown again, the list has no selected or current row: Down selects the first.
    list.hide();
    Open();
    ASSERT_EQ(QApplication::focusWidget(), List());
    EXPECT_EQ(SelectedRow(List()), -1);
    Stroke(Qt::Key_Down);
    EXPECT_EQ(SelectedRow(List()), 0);
    EXPECT_TRUE(Button("EditButton")->isEnabled());
}

TEST_F(FilterOptionsForm, ValueDropDownsOfferTheCategoriesAndCheckTypedValuesOnLeavingAndOnOk)
{
    Open();
    WhenShown([&] {
        EXPECT_EQ(QApplication::focusWidget(), Single("NameEdit"));
        EXPECT_EQ(gui::Entries(Box("PublisherBox")), (StringList{"any", "Acornsoft", "Caf\xe9", "Superior"}));
        EXPECT_EQ(gui::Entries(Box("TypeBox")), (StringList{"any", "Game", "Utility"}));
        EXPECT_EQ(gui::Entries(Box("TypeCompBox")), (StringList{"=", "<>"}));
        // Leaving the box: an unknown publisher becomes "any", one that differs only in
        // case passes as typed.
        TypeInto(Box("PublisherBox"), "Nobody");
        Tab();
        EXPECT_EQ(Box("PublisherBox")->currentText(), "any");
        EXPECT_EQ(QApplication::focusWidget(), Box("TypeCompBox"));
        TypeInto(Box("PublisherBox"), "acornsoft");
        Tab();
        EXPECT_EQ(Box("PublisherBox")->currentText(), "acornsoft");
        // A comparison is not checked on leaving; a picked one is kept.
        TypeInto(Box("TypeCompBox"), "= =");
        Tab();
        EXPECT_EQ(Box("TypeCompBox")->currentText(), "= =");
        Box("PublisherCompBox")->setFocus();
        QTest::keyClick(Box("PublisherCompBox"), Qt::Key_Down);
        // A type typed and confirmed with Enter is checked as the box is left by OK.
        TypeInto(Box("TypeBox"), "Nobody");
        QTest::keyClick(Box("TypeBox")->lineEdit(), Qt::Key_Return);
    });
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    ASSERT_EQ(catalogue.FilterList.size(), 1u);
    EXPECT_EQ(catalogue.FilterList[0].FPublisher, "acornsoft");
    EXPECT_EQ(catalogue.FilterList[0].FPubComp, "<>");
    EXPECT_EQ(catalogue.FilterList[0].FTypeComp, "=");
    EXPECT_EQ(catalogue.FilterList[0].FType, "any");

    // A value box the user does not enter keeps a publisher no longer in the categories;
    // a blank comparison is stored as "=".
    catalogue.FilterList[0] = Filter("old", "Gone");
    ClickRow(List(), 0);
    InDialog([&] {
        EXPECT_EQ(Box("PublisherBox")->currentText(), "Gone");
        Single<QLineEdit>("NameEdit")->setText("renamed");
        TypeInto(Box("PublisherCompBox"), " ");
    });
    QTest::mouseClick(Button("EditButton"), Qt::LeftButton);
    EXPECT_EQ(catalogue.FilterList[0].FilterName, "renamed");
    EXPECT_EQ(catalogue.FilterList[0].FPublisher, "Gone");
    EXPECT_EQ(catalogue.FilterList[0].FPubComp, "=");
}

TEST_F(FilterOptionsForm, KeepsTheBytesOfWhatTheUserDidNotChangeAndWorksFromTheKeyboard)
{
    catalogue.FilterList = {Filter("Beeb\xe9m", "Caf\xe9")};
    Open();
    EXPECT_EQ(ListRows(List())[0].first, "Beeb\u00e9m");
    ClickRow(List(), 0);
    bool done = false;
    // Alt+E, then the favourite box changed by Space, and Enter for OK.
    WhenShown([&] {
        EXPECT_EQ(Single<QLineEdit>("NameEdit")->text(), QString::fromUtf8("Beeb\u00e9m"));
        EXPECT_EQ(Box("PublisherBox")->currentText(), QString::fromUtf8("Caf\u00e9"));
        auto* favourite = Single<QCheckBox>("FavouriteCheck");
        favourite->setFocus();
        QTest::keyClick(favourite, Qt::Key_Space);
        QTest::keyClick(favourite, Qt::Key_Space);
        EXPECT_EQ(favourite->checkState(), Qt::Unchecked);
        QTest::keyClick(favourite, Qt::Key_Return);
        done = true;
    });
    QTest::keyClick(List(), Qt::Key_E, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return done && !single.isVisible(); }));
    EXPECT_EQ(catalogue.FilterList[0], ([] {
        FilterRecord expected = Filter("Beeb\xe9m", "Caf\xe9");
        expected.FFavourite = FavouriteCondition::fcFalse;
        return expected;
    })());

    // An entry picked by the arrow keys is stored with the entry's bytes; Alt+H opens the
    // help page beside the program (a missing page is not reported); Escape cancels.
    InDialog([&] {
        TypeInto(Box("PublisherBox"), "");
        QTest::keyClick(Box("PublisherBox"), Qt::Key_Down);
        QTest::keyClick(Box("PublisherBox"), Qt::Key_Down);
        Tab();
        EXPECT_EQ(Box("PublisherBox")->currentText(), QString::fromUtf8("Caf\u00e9"));
    });
    Activate(&list);
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    ASSERT_EQ(catalogue.FilterList.size(), 2u);
    EXPECT_EQ(catalogue.FilterList[1].FPublisher, "Caf\xe9");
    done = false;
    dir.Write("HELP/FILTERS.HTM", "<html></html>");
    WhenShown([&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !shell.opened.empty(); }));
        QTest::keyClicks(QApplication::focusWidget(), "x");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        done = true;
    });
    QTest::mouseClick(Button("NewButton"), Qt::LeftButton);
    ASSERT_TRUE(done);
    EXPECT_EQ(catalogue.FilterList.size(), 2u);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{dir.path() + "HELP/FILTERS.HTM"}));
    EXPECT_TRUE(prompts.shown.empty());
}
