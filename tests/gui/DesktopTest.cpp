// The window on a Linux desktop: icons and links that a dark theme shows as well as a light
// one, links that open with the keyboard (web addresses in the browser), the emulator
// chooser's start, and the program's identity on the desktop.

#include "support/RunProcess.h"
#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include "launching/OptionsUnit.h"
#include "mainwindow/CommandIcons.h"
#include "mainwindow/QtPrompts.h"
#include "mainwindow/SplashUnit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace vorbix;
using namespace vorbix::test;

namespace {

// The relative luminance of a colour, and the contrast of two, as the web's accessibility
// guidelines define them.
double Luminance(QColor colour)
{
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double Contrast(QColor a, QColor b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The dark palette people use with the Fusion style.
QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Link, QColor(42, 130, 218));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

class DesktopTest : public WindowTest {};

} // namespace

// An icon stands out when enough of what it draws differs clearly (a contrast of 2:1) from
// the toolbar behind it: 80 pixels, a sixth of its square, show its shape. A dark chip or
// thin dark lines vanish on a dark theme.
TEST(CommandIcons, EveryIconStandsOutOnALightAndOnADarkTheme)
{
    using gui::CommandIcon;
    const CommandIcon icons[] = {CommandIcon::RunProgram, CommandIcon::RunEmulator, CommandIcon::NewProgram,
        CommandIcon::EditProgram, CommandIcon::DeleteProgram, CommandIcon::Categories, CommandIcon::Emulators,
        CommandIcon::Filters, CommandIcon::Options};
    for (const QColor background : {QColor(239, 239, 239), DarkPalette().color(QPalette::Window)}) {
        for (CommandIcon which : icons) {
            const QImage image =
                gui::MakeCommandIcon(which).pixmap(21, 21).toImage().convertToFormat(QImage::Format_ARGB32);
            int drawn = 0;
            int standing = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    if (pixel.alpha() < 128)
                        continue;
                    ++drawn;
                    standing += Contrast(pixel, background) >= 2.0 ? 1 : 0;
                }
            ASSERT_GT(drawn, 0);
            EXPECT_GE(standing, 80) << "icon " << static_cast<int>(which) << " on " << background.name().toStdString()
                                    << ": " << standing << " of " << drawn;
        }
    }
}

// The link columns have the theme's link colour, also after the theme changes; a link with
// the focus opens with Enter or Space, a web address through the desktop's opener; the
// About window's links are reached with Tab.
TEST_F(DesktopTest, LinksFollowTheThemeAndOpenWithTheKeyboard)
{
    Catalogue catalogue = SixPrograms();
    for (ProgramRecord& program : catalogue.ProgramList) {
        program.DocLinkNames = {"Manual", "Gone"};
        program.DocLinkUrls = {"HTTPS://example.org/manual", dir / "gone.txt"};
    }
    StartedWindow& w = Start(catalogue);
    auto* panel = w.Find<QTabWidget>("PageControl1");
    panel->setCurrentIndex(2);
    auto* links = w.Find<QListWidget>("ListView2");
    ASSERT_EQ(links->count(), 2);
    EXPECT_EQ(links->palette().color(QPalette::Text), links->style()->standardPalette().color(QPalette::Link));

    const QPalette light = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    QApplication::processEvents();
    EXPECT_EQ(links->palette().color(QPalette::Text), DarkPalette().color(QPalette::Link));
    EXPECT_EQ(links->palette().color(QPalette::Base), DarkPalette().color(QPalette::Window));
    EXPECT_EQ(w.Find<QPlainTextEdit>("Memo1")->palette().color(QPalette::Base), DarkPalette().color(QPalette::Window));
    QApplication::setPalette(light);
    QApplication::processEvents();
    EXPECT_EQ(links->palette().color(QPalette::Base), light.color(QPalette::Window));

    links->setFocus();
    links->setCurrentRow(0);
    QTest::keyClick(links, Qt::Key_Return);
    EXPECT_EQ(w.shell.opened, std::vector<std::string>{"HTTPS://example.org/manual"});
    EXPECT_TRUE(w.prompts.shown.empty());
    QTest::keyClick(links, Qt::Key_Down);
    QTest::keyClick(links, Qt::Key_Space);
    EXPECT_EQ(w.prompts.Texts(), std::vector<std::string>{"Cannot find file " + dir / "gone.txt"});

    w.shell.opened.clear();
    WhenModal(w.form.get(), [](QWidget* about) {
        QTest::keyClick(about, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    w.Find<QAction>("About1")->trigger();
    EXPECT_EQ(w.shell.opened, std::vector<std::string>{gui::TSplashForm::kWebAddress});
}

// The emulator chooser lists the executable files first; the Windows filter is still
// there. A folder chooser with nothing remembered starts in the home folder.
TEST(QtPrompts, TheEmulatorChooserListsExecutablesAndTheFolderChooserStartsAtHome)
{
    TempDir dir;
    dir.Write("emus/readme", "");
    gui::QtPrompts prompts;
    FileOpenRequest request{"Programs|*|Executables|*.exe;*.pif;*.bat;*.com|All files|*", dir / "emus", "", true, true};
    QDir::Filters first;
    QDir::Filters afterwards;
    QString shownFilter;
    QObject waiting;
    WhenModal(&waiting, [&](QWidget* chooser) {
        auto* dialog = static_cast<QFileDialog*>(chooser);
        first = dialog->filter();
        shownFilter = dialog->selectedNameFilter();
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        afterwards = dialog->filter();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(prompts.ChooseFile(request).has_value());
    EXPECT_EQ(shownFilter, "Programs (*)");
    EXPECT_TRUE(first.testFlag(QDir::Executable));
    EXPECT_FALSE(afterwards.testFlag(QDir::Executable));

    QString folder;
    WhenModal(&waiting, [&folder](QWidget* chooser) {
        folder = static_cast<QFileDialog*>(chooser)->directory().absolutePath();
        QTest::keyClick(chooser, Qt::Key_Escape);
    });
    EXPECT_FALSE(prompts.ChooseFolder({}).has_value());
    EXPECT_EQ(folder, QDir::homePath());
}

// The window carries the desktop entry's name and an icon; the version is printed without
// a display, by both programs.
TEST(Desktop, TheWindowHasItsIconAndBothProgramsTellTheirVersionWithoutADisplay)
{
    EXPECT_EQ(QGuiApplication::desktopFileName(), "vorbix");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    const std::vector<std::string> noDisplay{"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
    const ProcessOutput window = RunProcess({VORBIX_GUI_PATH, "--version"}, noDisplay);
    EXPECT_EQ(window.status, 0) << window.err;
    EXPECT_EQ(window.out, "vorbix 2.3\n");
    const ProcessOutput terminal = RunProcess({VORBIX_CLI_PATH, "--version"}, noDisplay);
    EXPECT_EQ(terminal.status, 0) << terminal.err;
    EXPECT_EQ(terminal.out, "vorbix-cli 2.3\n");
}

// Not a check: run with --gtest_also_run_disabled_tests to render the main window and the
// program editor with a dark Fusion palette into docs/ (or $VORBIX_SCREENSHOT_DIR).
TEST_F(DesktopTest, DISABLED_DarkThemeScreenshots)
{
    const QByteArray chosen = qgetenv("VORBIX_SCREENSHOT_DIR");
    const QString folder =
        chosen.isEmpty() ? QStringLiteral(VORBIX_SOURCE_DIR "/docs") : QString::fromLocal8Bit(chosen);
    const QString style = QApplication::style()->name();
    const QPalette palette = QApplication::palette();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(DarkPalette());
    Catalogue catalogue = SixPrograms();
    for (ProgramRecord& program : catalogue.ProgramList) {
        program.Comments = {"Trade and fight across eight galaxies."};
        program.EmuWarningEmus = {"b2"};
        program.EmuWarningTexts = {"Needs the 6502 second processor off"};
        program.DocLinkNames = {"Manual", "Keys"};
        program.DocLinkUrls = {"https://example.org/manual", "https://example.org/keys"};
    }
    StartedWindow& w = Start(catalogue);
    w.Find<QTabWidget>("PageControl1")->setCurrentIndex(2);
    QApplication::processEvents();
    EXPECT_TRUE(w.form->grab().save(folder + QStringLiteral("/main-window-dark.png")));
    bool saved = false;
    WhenModal(w.form.get(), [&saved, folder](QWidget* editor) {
        saved = editor->grab().save(folder + QStringLiteral("/program-editor-dark.png"));
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    w.Find<QAction>("Edit1")->trigger();
    EXPECT_TRUE(saved);
    QApplication::setPalette(palette);
    QApplication::setStyle(style);
}
