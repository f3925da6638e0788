// The three report option dialogs, run modally and driven while they stand: what OK and
// Cancel give, the keyboard, and the filter drop-down's entries and bytes.

#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include "mainwindow/TextBytes.h"
#include "reports/CompatibilityReportUnit.h"
#include "reports/LinksReportUnit.h"
#include "reports/ProgramsReportUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace vorbix;
using namespace vorbix::test;

namespace {

class ReportDialogs : public DialogTest {
protected:
    ReportDialogs()
    {
        catalogue = SixPrograms();
        catalogue.AppDir = dir.path();
    }
};

// Runs form.Ask() with act done on the standing dialog, once it has the keyboard; act
// must close it.
template <typename Form>
auto AskWith(Form& form, const std::function<void()>& act)
{
    QTimer::singleShot(0, &form, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        act();
        if (form.isVisible()) {
            ADD_FAILURE() << form.objectName().toStdString() << " still open";
            form.reject();
        }
    });
    return form.Ask();
}

template <typename T>
T* Child(QWidget& form, const char* name)
{
    T* child = form.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// A click on a push button's middle, or on a check box's or radio button's indicator
// (their middle may lie beyond a short caption, where a click does nothing).
void Click(QWidget& form, const char* name)
{
    auto* button = Child<QAbstractButton>(form, name);
    const bool pushButton = qobject_cast<QPushButton*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
        pushButton ? button->rect().center() : QPoint(8, button->height() / 2));
}

void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}

std::string FocusName()
{
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName().toStdString() : "";
}

// Centred on the desktop, fixed in size, and every caption and box at least as large as
// it asks at this font.
void ExpectShape(QWidget& form)
{
    // The client area is centred; the window manager's frame may shift it a little.
    EXPECT_LE((form.geometry().center() - form.screen()->availableGeometry().center()).manhattanLength(), 8);
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    for (QWidget* child : form.findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QGroupBox*>(child)
            || qobject_cast<QComboBox*>(child)) {
            EXPECT_GE(child->width(), child->sizeHint().width()) << child->objectName().toStdString();
            EXPECT_GE(child->height(), child->sizeHint().height()) << child->objectName().toStdString();
        }
    }
}

} // namespace

TEST_F(ReportDialogs, ProgramsReportStartsFromTheDefaultsAndGivesTheChoicesOnOkOnly)
{
    gui::TProgramsReportForm form(catalogue);
    EXPECT_FALSE(AskWith(form, [&] { Click(form, "BitBtn2"); }).has_value());

    auto asked = AskWith(form, [&] {
        EXPECT_EQ(form.windowTitle(), "Programs Report");
        ExpectShape(form);
        EXPECT_EQ(FocusName(), "RadioButton1");
        EXPECT_EQ(gui::Entries(Child<QComboBox>(form, "ComboBox1")), (StringList{"all", "Acornsoft only", "bbc none"}));
        Click(form, "BitBtn1");
    });
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(*asked, ProgramsReportOptions{});

    // The other order, two boxes cleared and a filter picked reach the options.
    asked = AskWith(form, [&] {
        Key(Qt::Key_Right); // arrows move between the order buttons
        EXPECT_TRUE(Child<QRadioButton>(form, "RadioButton2")->isChecked());
        Click(form, "CheckBox1");
        Click(form, "CheckBox3");
        auto* filter = Child<QComboBox>(form, "ComboBox1");
        filter->setCurrentIndex(2);
        emit filter->activated(2);
        Click(form, "BitBtn1");
    });
    ProgramsReportOptions expected{ReportOrder::Program, "bbc none", false, true, false, true};
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(*asked, expected);

    // Nothing is remembered, and the filter names are those of the moment.
    catalogue.FilterList.push_back(FilterRecord{"Zed"});
    asked = AskWith(form, [&] {
        EXPECT_EQ(gui::Entries(Child<QComboBox>(form, "ComboBox1")).back(), "Zed");
        Click(form, "BitBtn1");
    });
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(*asked, ProgramsReportOptions{});
}

// Enter accepts (also from the filter box, whose typed text is kept as typed rather than
// replaced by the entry it matches ignoring case), Escape cancels; Tab in reading order.
TEST_F(ReportDialogs, CompatibilityReportFromTheKeyboard)
{
    gui::TCompatibilityReportForm form(catalogue);
    EXPECT_FALSE(AskWith(form, [] { Key(Qt::Key_Escape); }).has_value());

    auto asked = AskWith(form, [&] {
        EXPECT_EQ(form.windowTitle(), "Compatibility Report");
        ExpectShape(form);
        std::vector<std::string> order{FocusName()};
        for (int i = 0; i < 4; ++i) {
            Key(Qt::Key_Tab);
            order.push_back(FocusName());
        }
        EXPECT_EQ(order, (std::vector<std::string>{"RadioButton1", "ComboBox1", "BitBtn1", "BitBtn2", "RadioButton1"}));
        Key(Qt::Key_Return);
    });
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(*asked, CompatibilityReportOptions{});

    asked = AskWith(form, [&] {
        Key(Qt::Key_Right);
        Key(Qt::Key_Tab);
        QLineEdit* edit = Child<QComboBox>(form, "ComboBox1")->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, "ACORNSOFT ONLY");
        Key(Qt::Key_Tab);
        Key(Qt::Key_Backtab);
        Key(Qt::Key_Return);
    });
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(*asked, (CompatibilityReportOptions{ReportOrder::Program, "ACORNSOFT ONLY"}));

    // A filter name written on Windows (Windows-1252, not UTF-8) comes back byte for byte.
    catalogue.FilterList.push_back(FilterRecord{"Caf\xe9"});
    asked = AskWith(form, [&] {
        auto* filter = Child<QComboBox>(form, "ComboBox1");
        const int cafe = filter->findText(QString::fromUtf8("Caf\xc3\xa9"));
        ASSERT_EQ(cafe, 3); // after "all", "Acornsoft only", "bbc none"
        filter->setCurrentIndex(cafe);
        emit filter->activated(cafe);
        Key(Qt::Key_Return);
    });
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(asked->FilterName, "Caf\xe9");
    // So does the name typed as it is shown; a name that is no entry is kept as typed.
    const std::pair<const char*, const char*> typedAndGiven[] = {{"Caf\xc3\xa9", "Caf\xe9"},
        {"Caf\xc3\xa9s", "Caf\xc3\xa9s"}};
    for (const auto& [typedText, given] : typedAndGiven) {
        const char* typed = typedText; // Clang 14 cannot capture a structured binding
        asked = AskWith(form, [&] {
            Key(Qt::Key_Tab);
            QLineEdit* edit = Child<QComboBox>(form, "ComboBox1")->lineEdit();
            edit->selectAll();
            edit->insert(QString::fromUtf8(typed)); // as typed (QTest types ASCII only)
            Key(Qt::Key_Return);
        });
        ASSERT_TRUE(asked.has_value());
        EXPECT_EQ(asked->FilterName, given);
    }
}

TEST_F(ReportDialogs, LinksReportSelectsAndDeselectsTheTwelveTests)
{
    gui::TLinksReportForm form(catalogue);
    EXPECT_FALSE(AskWith(form, [&] {
        Click(form, "DeselectBtn");
        Click(form, "BitBtn2");
    }).has_value());

    // Every box checked again, the focus on the first; Tab walks them in reading order.
    auto asked = AskWith(form, [&] {
        EXPECT_EQ(form.windowTitle(), "Links Report");
        ExpectShape(form);
        std::vector<std::string> order{FocusName()}, expected;
        for (std::size_t i = 0; i < kLinksTestCount; ++i) {
            const LinksTestNames& names = NamesOf(static_cast<LinksTest>(i));
            expected.push_back(names.ControlName);
            auto* box = Child<QCheckBox>(form, names.ControlName);
            EXPECT_EQ(box->text().toStdString(), names.Caption);
            EXPECT_TRUE(box->isChecked()) << names.ControlName;
            Key(Qt::Key_Tab);
            order.push_back(FocusName());
        }
        for (int i = 0; i < 4; ++i) {
            Key(Qt::Key_Tab);
            order.push_back(FocusName());
        }
        for (const char* name : {"ComboBox1", "SelectBtn", "DeselectBtn", "BitBtn1", "BitBtn2"})
            expected.push_back(name);
        EXPECT_EQ(order, expected);
        Key(Qt::Key_Escape);
    });
    EXPECT_FALSE(asked.has_value());

    asked = AskWith(form, [&] { Click(form, "BitBtn1"); });
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(*asked, LinksReportOptions{});

    // "&Deselect all" by its access key, then two boxes: exactly those two tests.
    asked = AskWith(form, [&] {
        Key(Qt::Key_D, Qt::AltModifier); // an access key presses its button after a moment
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Child<QCheckBox>(form, "BrokenProgs")->isChecked(); }));
        Click(form, "ProgsNoPics");
        Click(form, "FiltersNoTypes");
        Key(Qt::Key_Return);
    });
    LinksReportOptions two;
    two.Tests.fill(false);
    two.SetChecked(LinksTest::ProgsNoPics, true);
    two.SetChecked(LinksTest::FiltersNoTypes, true);
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(*asked, two);

    // "&Select all" after some were cleared, with a filter.
    asked = AskWith(form, [&] {
        Click(form, "DeselectBtn");
        Key(Qt::Key_S, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Child<QCheckBox>(form, "BrokenProgs")->isChecked(); }));
        auto* filter = Child<QComboBox>(form, "ComboBox1");
        filter->setCurrentIndex(1);
        emit filter->activated(1);
        Click(form, "BitBtn1");
    });
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(*asked, (LinksReportOptions{"Acornsoft only"}));
}
