// What a user's hands do to the main window, through the events Qt delivers: keys pressed
// and let go while message boxes come and go, and files dropped where the pointer is.

#include "support/gui/DialogTest.h"
#include "support/gui/WindowTest.h"

#include "discs/DiscContents.h"
#include "mainwindow/DetailsPanel.h"
#include "platform/FileSystem.h"
#include "support/AdfsUefImages.h"
#include "support/DfsImages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <utility>

using namespace vorbix;
using namespace vorbix::test;
using namespace std::chrono_literals;

namespace {

using Texts = std::vector<std::string>;
using RealHands = WindowTest;

// Where Qt sends a key at this moment: to an open menu, else to the widget with the focus.
QWidget* KeyReceiver()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    return QApplication::focusWidget();
}

// Stands in for the desktop's window manager, which the offscreen platform lacks: when a
// modal window goes, the window under it is made the active one again, so that keys go to
// it as they do on a desktop.
class WindowManager : public QObject {
public:
    WindowManager() { QApplication::instance()->installEventFilter(this); }

    // Lets pending events through, then brings back the window a modal window uncovered.
    void Settle()
    {
        QApplication::processEvents();
        if (uncovered_ != nullptr) {
            Activate(uncovered_);
            uncovered_ = nullptr;
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || !widget->isWindow())
            return false;
        if (event->type() == QEvent::Show)
            uncovered_ = nullptr; // a new window stands on top
        else if (event->type() == QEvent::Hide && widget->isModal() && widget->parentWidget() != nullptr)
            uncovered_ = widget->parentWidget()->window();
        return false;
    }

private:
    QPointer<QWidget> uncovered_;
};

// The keys a user holds down. Each is pressed where keys go when it goes down and let go
// where keys go when it comes up: a box or dialog that its press closed has gone by then.
class Hands {
public:
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        desktop_.Settle();
        QWidget* receiver = KeyReceiver();
        ASSERT_NE(receiver, nullptr);
        held_.emplace_back(key, modifiers);
        QTest::keyPress(receiver, key, modifiers);
    }

    // Lets go of every key held, also of those pressed meanwhile to close a box; a box that
    // comes back at every key let go is given up on after a few rounds.
    void LetGo()
    {
        for (int released = 0; !held_.empty() && released < 8; ++released) {
            const auto [key, modifiers] = held_.front();
            held_.pop_front();
            desktop_.Settle();
            QWidget* receiver = KeyReceiver();
            ASSERT_NE(receiver, nullptr);
            QTest::keyRelease(receiver, key, modifiers);
        }
        held_.clear();
    }

    void PressAndLetGo(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        Press(key, modifiers);
        LetGo();
    }

private:
    WindowManager desktop_;
    std::deque<std::pair<Qt::Key, Qt::KeyboardModifiers>> held_;
};

// Plain message boxes that stand as real modal boxes until the user presses CloseKey in
// them (Enter or Escape), recorded as FakePrompts records them; questions are answered
// from its script.
class StandingBoxes : public FakePrompts {
public:
    explicit StandingBoxes(Hands& hands) : hands_(hands) {}

    MessageAnswer ShowMessageBox(const MessageRequest& request) override
    {
        const MessageAnswer answer = FakePrompts::ShowMessageBox(request);
        if (request.Buttons != MessageButtons::Ok)
            return answer;
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vorbix"), QString::fromStdString(request.Text),
            QMessageBox::Ok, Parent);
        QTimer::singleShot(0, &box, [this, &box] {
            Activate(&box);
            EXPECT_EQ(KeyReceiver()->window(), &box);
            hands_.Press(CloseKey);
        });
        QTimer::singleShot(10000, &box, &QDialog::reject); // a box the key left open
        box.exec();
        return answer;
    }

    Qt::Key CloseKey = Qt::Key_Return;
    QWidget* Parent = nullptr; // the window the boxes stand over, as the window's own prompts have it

private:
    Hands& hands_;
};

// A main window over the application folder whose boxes stand until a key closes them.
struct WindowInHands {
    Hands hands;
    Catalogue catalogue;
    StandingBoxes prompts{hands};
    RecordingShell shell;
    std::unique_ptr<gui::TMainForm> form;

    explicit WindowInHands(const std::string& appDir)
    {
        catalogue.AppDir = appDir;
        form = std::make_unique<gui::TMainForm>(catalogue, prompts, shell);
        prompts.Parent = form.get();
        form->SetSplashMinimum(0ms);
        form->show();
    }
    ~WindowInHands()
    {
        form.reset();
        ClearQuitRequest();
    }

    QTreeView* List() const { return form->findChild<QTreeView*>("ListView1"); }
    bool Enabled(const char* action) const { return form->findChild<QAction*>(action)->isEnabled(); }
    std::string Selected() const
    {
        const int pidx = form->SelectedPIdx();
        return pidx < 0 ? "" : catalogue.ProgramList[static_cast<std::size_t>(pidx)].ProgramName;
    }
};

// Acts once a dialog (not a message box) stands modal; looks again until then.
void WhenDialogStands(QObject* context, std::function<void()> act)
{
    QTimer::singleShot(10, context, [context, act = std::move(act)]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && qobject_cast<QMessageBox*>(modal) == nullptr) {
            Activate(modal);
            act();
        } else {
            WhenDialogStands(context, std::move(act));
        }
    });
}

// What a file manager gives for dragged files: their addresses, and their paths as text.
std::unique_ptr<QMimeData> FilesData(const std::vector<std::string>& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    QStringList texts;
    for (const std::string& path : paths) {
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
        texts << QString::fromStdString(path);
    }
    data->setUrls(urls);
    data->setText(texts.join(u'\n'));
    return data;
}

// What a browser gives for a dragged link: its address, and the address as text.
std::unique_ptr<QMimeData> LinkData(const QString& address)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl(address)});
    data->setText(address);
    return data;
}

// Drags the data over the window to the point (in the window's coordinates) and lets go
// there, sending what Qt sends to the widget under the pointer: the enter, a move that
// carries the enter's answer, and the drop. Whether the drop was taken.
bool DropAt(QWidget* window, QPoint at, const QMimeData& data)
{
    QWidget* under = window->childAt(at);
    if (under == nullptr)
        under = window;
    const QPoint local = under->mapFrom(window, at);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(local, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(under, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(local, actions, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(enter.dropAction());
    move.setAccepted(true);
    QApplication::sendEvent(under, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(under, &leave);
        return false;
    }
    QDropEvent drop(QPointF(local), actions, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(move.dropAction());
    QApplication::sendEvent(under, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

QPoint CentreOf(const QWidget* widget, const QWidget* window)
{
    return widget->mapTo(window, widget->rect().center());
}

} // namespace

// The key that closes an "Error loading file" box is let go over the program list; the box
// must not come back for it, nor for a key let go after a menu command or a dialog, nor for
// a key that moves nothing, and the keys go on moving the selection (a letter let go after
// a menu command does not move it). Coming back to the program reports it again, once.
TEST_F(RealHands, ADamagedPictureIsReportedOnceEachTimeItsProgramIsSelected)
{
    Catalogue catalogue;
    catalogue.ProgramList = {MakeProgram("A", "Alpha", "Game", dir / "Alpha.ssd"),
        MakeProgram("B", "Broken", "Game", dir / "Broken.ssd"), MakeProgram("C", "Cheese", "Game", dir / "Cheese.ssd")};
    dir.Write("Broken.jpg", "no JPEG at all");
    WriteAppDir(catalogue, dir.path());
    WindowInHands w(dir.path());
    Activate(w.form.get());
    ASSERT_EQ(w.Selected(), "Alpha");
    ASSERT_EQ(KeyReceiver(), w.List());
    const std::string broken = "Error loading file " + dir / "Broken.jpg";

    // Down, and the box closed with Enter.
    w.hands.PressAndLetGo(Qt::Key_Down);
    EXPECT_EQ(w.Selected(), "Broken");
    EXPECT_EQ(w.prompts.Texts(), Texts{broken});
    EXPECT_EQ(KeyReceiver(), w.List());

    // Up and Down: selected anew, reported anew; the box closed with Escape.
    w.prompts.CloseKey = Qt::Key_Escape;
    w.hands.PressAndLetGo(Qt::Key_Up);
    EXPECT_EQ(w.Selected(), "Alpha");
    w.hands.PressAndLetGo(Qt::Key_Down);
    EXPECT_EQ(w.prompts.Texts(), (Texts{broken, broken}));

    // Alt+F, S saves (the options file is written anew); S is let go over the list.
    const auto optionsFile = IdentityOf(dir / "Data/options.xml");
    w.hands.PressAndLetGo(Qt::Key_F, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    w.hands.PressAndLetGo(Qt::Key_S);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_NE(IdentityOf(dir / "Data/options.xml"), optionsFile);
    EXPECT_EQ(w.prompts.Texts().size(), 2u);

    w.hands.PressAndLetGo(Qt::Key_Down);
    EXPECT_EQ(w.Selected(), "Cheese");
    EXPECT_EQ(w.prompts.Texts().size(), 2u);

    // Alt+E, F opens Filters; Escape closes it, the list is rebuilt on its first row, whose
    // box cover is damaged: one box, closed with Enter.
    dir.Write("Alpha-box.jpg", "no JPEG either");
    w.prompts.CloseKey = Qt::Key_Return;
    WhenDialogStands(w.form.get(), [&] { w.hands.Press(Qt::Key_Escape); });
    w.hands.PressAndLetGo(Qt::Key_E, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    w.hands.PressAndLetGo(Qt::Key_F);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(w.Selected(), "Alpha");
    EXPECT_EQ(w.prompts.Texts(), (Texts{broken, broken, "Error loading file " + dir / "Alpha-box.jpg"}));

    // A key that moves nothing refreshes the same program: no box.
    w.hands.PressAndLetGo(Qt::Key_Shift);
    EXPECT_EQ(w.prompts.Texts().size(), 3u);

    w.hands.PressAndLetGo(Qt::Key_Down);
    EXPECT_EQ(w.Selected(), "Broken");
    EXPECT_EQ(w.prompts.Texts().size(), 4u);
}

// A file dropped anywhere on the window, a selector included, is the window's drop: a file
// it does not take is refused, and no selector takes the path as text.
TEST_F(RealHands, ADropOnAnyPartOfTheWindowIsTheWindowsDrop)
{
    Catalogue catalogue = SixPrograms();
    catalogue.LastEmu.clear();
    StartedWindow& w = Start(catalogue);
    const std::unique_ptr<QMimeData> notes = FilesData({dir.Write("notes.txt", "text")});
    auto* filters = w.Find<QComboBox>("ComboBox1");
    auto* emulators = w.Find<QComboBox>("ComboBox2");
    const std::vector<std::pair<const char*, QWidget*>> parts = {{"list", w.List()->viewport()},
        {"details panel", w.Find<QWidget>("Image1")}, {"filter selector", filters}, {"emulator selector", emulators},
        {"toolbar", w.Find<QToolBar>("ToolBar1")}};
    for (const auto& [part, widget] : parts) {
        w.prompts.shown.clear();
        const QPoint at = widget == w.Find<QToolBar>("ToolBar1")
            ? widget->mapTo(w.form.get(), QPoint(widget->width() - 3, widget->height() / 2))
            : CentreOf(widget, w.form.get());
        EXPECT_TRUE(DropAt(w.form.get(), at, *notes)) << part;
        EXPECT_EQ(w.prompts.Texts(), Texts{"Only disk/rom images and JPEG pictures can be dropped"}) << part;
        EXPECT_EQ(filters->currentText().toStdString(), "all") << part;
        EXPECT_EQ(emulators->currentText().toStdString(), "") << part;
        EXPECT_FALSE(w.Enabled("RunEmulator1")) << part;
    }
}

// A link dragged from a browser names no file: refused as any other drop the window does
// not take, and nothing is run.
TEST_F(RealHands, AWebAddressDroppedIsRefused)
{
    StartedWindow& w = Start(SixPrograms());
    for (const QString& address :
        {QStringLiteral("https://example.com/games/Elite.ssd"), QStringLiteral("http://example.com/shot.jpg")}) {
        w.prompts.shown.clear();
        EXPECT_TRUE(DropAt(w.form.get(), CentreOf(w.List()->viewport(), w.form.get()), *LinkData(address)));
        EXPECT_EQ(w.prompts.Texts(), Texts{"Only disk/rom images and JPEG pictures can be dropped"})
            << address.toStdString();
        EXPECT_TRUE(w.prompts.shown[0].request.Foreground);
    }
    EXPECT_TRUE(w.shell.started.empty());
}

// A JPEG named to vorbix (a file manager's "Open with") or handed over by a later start
// asks before it becomes the picture of whatever program happens to be selected, with No
// as the default; one dropped by the user with the mouse goes in at once.
TEST_F(RealHands, AJpegGivenToTheProgramAsksBeforeItBecomesAPicture)
{
    Catalogue catalogue;
    catalogue.ProgramList = {MakeProgram("A", "Elite", "Game", dir.Write("games/Elite.ssd", "disc"))};
    const std::string shot = dir.Write("shot.jpg", JpegBytes(16, 16));
    StartedWindow& w = Start(catalogue, false);
    w.form->OpenAfterStartUp({shot});
    w.prompts.QueueAnswer(MessageAnswer::No);
    w.form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.prompts.shown.empty() || dir.Exists("games/Elite.jpg"); }, 5000));
    EXPECT_EQ(w.prompts.Texts(), Texts{"Use " + shot + " as the picture of Elite?"});
    EXPECT_EQ(w.prompts.shown[0].request.Icon, MessageIcon::Question);
    EXPECT_EQ(w.prompts.shown[0].request.Buttons, MessageButtons::YesNo);
    EXPECT_TRUE(w.prompts.shown[0].request.DefaultNo);
    EXPECT_FALSE(dir.Exists("games/Elite.jpg"));

    // Handed over while the Box cover tab shows; Yes.
    w.prompts.shown.clear();
    w.form->Details()->ShowTab(DetailsTab::BoxCover);
    w.form->OpenHandedFiles({shot});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.prompts.shown.empty(); }, 5000));
    EXPECT_EQ(w.prompts.Texts(), Texts{"Use " + shot + " as the box cover of Elite?"});
    EXPECT_EQ(dir.Read("games/Elite-box.jpg"), JpegBytes(16, 16));

    // Dropped with the mouse on the list: no question.
    w.prompts.shown.clear();
    w.form->Details()->ShowTab(DetailsTab::Picture);
    EXPECT_TRUE(DropAt(w.form.get(), CentreOf(w.List()->viewport(), w.form.get()), *FilesData({shot})));
    EXPECT_TRUE(w.prompts.shown.empty()) << w.prompts.Texts()[0];
    EXPECT_EQ(dir.Read("games/Elite.jpg"), JpegBytes(16, 16));
}

// The Disc tab, chosen with the mouse, shows what is on the selected program's image and
// follows the selection made with the keys; a picture dropped while it shows is refused as
// on the Information tab.
TEST_F(RealHands, TheDiscTabShowsWhatIsOnTheSelectedImage)
{
    const std::string disc = dir.Write("games/Elite.ssd",
        DfsImage("ELITE", 2, {{"!BOOT", '$', false, 0, 0, 0x20, 2}, {"ELITE", 'E', true, 0x1900, 0x8023, 0x5000, 3}}));
    const std::string tape =
        dir.Write("games/Zap.uef", Gzip(UefImage({{"ZAP", 0x1900, 0x8023, std::string(600, 'z')}})));
    Catalogue catalogue;
    catalogue.ProgramList = {MakeProgram("Acornsoft", "Elite", "Game", disc), MakeProgram("Zeta", "Zap", "Game", tape)};
    StartedWindow& w = Start(catalogue);
    const auto shown = [&w] { return w.Find<QPlainTextEdit>("Memo3")->toPlainText().toStdString(); };
    const auto expected = [](const std::string& path) {
        std::string text;
        for (const std::string& line : DescribeImageFile(path).Value().Lines)
            text += (text.empty() ? "" : "\n") + line;
        return text;
    };
    // Not read while another tab shows.
    EXPECT_EQ(shown(), "");
    QTabBar* tabs = w.form->Details()->tabBar();
    ASSERT_EQ(tabs->tabText(3), "Disc");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
    EXPECT_EQ(w.form->Details()->ShownTab(), DetailsTab::Disc);
    EXPECT_EQ(shown(), expected(disc));
    EXPECT_NE(shown().find("  E.ELITE  L 01900 08023 05000  003\n%BOOT%   types *RUN !BOOT"), std::string::npos);

    w.List()->setFocus();
    QTest::keyClick(w.List(), Qt::Key_Down);
    EXPECT_EQ(w.SelectedName(), "Zap");
    EXPECT_EQ(shown(), expected(tape));
    EXPECT_NE(shown().find("  ZAP          00001900 00008023 00000258 3"), std::string::npos);

    const std::string shot = dir.Write("shot.jpg", JpegBytes(16, 16));
    EXPECT_TRUE(DropAt(w.form.get(), CentreOf(w.List()->viewport(), w.form.get()), *FilesData({shot})));
    EXPECT_EQ(w.prompts.Texts(),
        Texts{"Error: Make sure a program is selected as well as the Picture tab sheet or the Box "
              "Cover tab before dropping a JPEG file"});
    EXPECT_FALSE(dir.Exists("games/Zap.jpg"));
    EXPECT_FALSE(dir.Exists("games/Zap-box.jpg"));
}

namespace {

// The names the list shows, in row order.
Texts ShownNames(const WindowInHands& w)
{
    Texts names;
    const QAbstractItemModel* rows = w.List()->model();
    for (int r = 0; r < rows->rowCount(); ++r)
        names.push_back(rows->index(r, 1).data().toString().toStdString());
    return names;
}

std::string CountPanel(const WindowInHands& w)
{
    return w.form->findChild<QLabel*>("StatusPanel5")->text().toStdString();
}

// A right-click as a desktop delivers it: the press, the menu asked for where it was, then
// the release.
void RightClick(QWidget* widget, QPoint at)
{
    QTest::mousePress(widget, Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    QTest::mouseRelease(widget, Qt::RightButton, {}, at);
}

// Runs act on the popup menu about to open, once it stands; looks again until then, and
// gives up after 5 s.
void WhenMenuOpens(QObject* context, std::function<void(QMenu*)> act, int tries = 500)
{
    QTimer::singleShot(10, context, [context, act = std::move(act), tries]() mutable {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
            act(menu);
        else if (tries > 0)
            WhenMenuOpens(context, std::move(act), tries - 1);
    });
}

} // namespace

// Ctrl+F opens the find field; each key typed narrows the list to the programs whose name
// or publisher holds the text, whatever its case and accents, also in a name written on
// Windows; the selected program stays while it matches, and the count follows. Enter takes
// the first match into the list, and the Enter guard holds the next Enter back; Escape
// gives the filter's rows back; with the field closed the type-ahead works as before.
TEST_F(RealHands, FindAsYouTypeNarrowsTheListAndGivesItBack)
{
    Catalogue catalogue;
    // NOLINTBEGIN(bugprone-suspicious-missing-comma)
    catalogue.ProgramList = {MakeProgram("Acornsoft", "Elite"), MakeProgram("Acornsoft", "Meteors"),
        MakeProgram("Superior", "Repton"), MakeProgram("Micro Power", "Caf\xc3\xa9 Society"),
        MakeProgram("Bug Byte", "\xc9lan Vital"), // Windows-1252
        MakeProgram("\xc3\x89"
                    "ditions Zap",
            "Quasar")};
    // NOLINTEND(bugprone-suspicious-missing-comma)
    EmuRecord emulator;
    emulator.EmuName = "Fake BeebEm";
    catalogue.EmuList = {emulator};
    catalogue.LastEmu = emulator.EmuName;
    WriteAppDir(catalogue, dir.path());
    WindowInHands w(dir.path());
    Activate(w.form.get());
    const Texts all = ShownNames(w);
    ASSERT_EQ(all.size(), 6u);
    w.hands.PressAndLetGo(Qt::Key_Down);
    ASSERT_EQ(w.Selected(), "Meteors");
    auto* field = w.form->findChild<QLineEdit*>("FindEdit1");
    ASSERT_FALSE(field->isVisible());

    w.hands.PressAndLetGo(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(field->isVisible());
    ASSERT_EQ(KeyReceiver(), field);
    w.hands.PressAndLetGo(Qt::Key_E);
    EXPECT_EQ(ShownNames(w),
        (Texts{"Elite", "Meteors", "\xc3\x89lan Vital", "Caf\xc3\xa9 Society", "Repton", "Quasar"}));
    w.hands.PressAndLetGo(Qt::Key_T);
    EXPECT_EQ(ShownNames(w), (Texts{"Meteors", "Caf\xc3\xa9 Society"}));
    EXPECT_EQ(w.Selected(), "Meteors");
    EXPECT_EQ(CountPanel(w), "2 Programs  ");
    w.hands.PressAndLetGo(Qt::Key_Backspace);
    w.hands.PressAndLetGo(Qt::Key_Backspace);
    EXPECT_EQ(ShownNames(w), all);
    EXPECT_EQ(w.Selected(), "Meteors");

    // An accent typed matches the plain letter and the accented one, in UTF-8 and in a
    // Windows-1252 name, in capitals too; the selection goes to the first match.
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_Eacute, QString::fromUtf8("\xc3\xa9"), Qt::NoModifier);
    QTest::keyClicks(field, QStringLiteral("LAN"));
    EXPECT_EQ(ShownNames(w), (Texts{"\xc3\x89lan Vital"}));
    EXPECT_EQ(w.Selected(), "\xc9lan Vital");
    field->clear();
    QTest::keyClicks(field, QStringLiteral("cafe"));
    EXPECT_EQ(ShownNames(w), (Texts{"Caf\xc3\xa9 Society"}));
    field->clear();
    QTest::keyClicks(field, QStringLiteral("EDITION")); // a publisher
    EXPECT_EQ(ShownNames(w), (Texts{"Quasar"}));
    EXPECT_EQ(CountPanel(w), "1 Programs  ");

    // Nothing found: no row, the count says so, and Down stays in the field.
    QTest::keyClicks(field, QStringLiteral("zz"));
    EXPECT_TRUE(ShownNames(w).empty());
    EXPECT_EQ(CountPanel(w), "0 Programs  ");
    EXPECT_FALSE(w.Enabled("RunProgram1"));
    w.hands.PressAndLetGo(Qt::Key_Down);
    EXPECT_EQ(KeyReceiver(), field);

    // Enter takes the first match into the list without starting it; an Enter in the list
    // at once after is held back by the guard, one 400 ms later starts the program.
    field->clear();
    QTest::keyClicks(field, QStringLiteral("o"));
    const auto now = std::chrono::system_clock::now() + 10s; // long after the start-up
    w.shell.FixedNow = now;
    w.hands.PressAndLetGo(Qt::Key_Return);
    EXPECT_EQ(KeyReceiver(), w.List());
    EXPECT_EQ(w.Selected(), "Elite"); // its publisher holds the "o"
    EXPECT_TRUE(w.prompts.shown.empty());
    w.hands.PressAndLetGo(Qt::Key_Return);
    EXPECT_TRUE(w.prompts.shown.empty());
    w.shell.FixedNow = now + 400ms;
    w.prompts.CloseKey = Qt::Key_Escape;
    w.hands.PressAndLetGo(Qt::Key_Return);
    EXPECT_FALSE(w.prompts.shown.empty()); // the launch ran (and found no emulator program)

    // Escape in the list closes the find: every row back, the program still selected.
    w.hands.PressAndLetGo(Qt::Key_Down);
    w.hands.PressAndLetGo(Qt::Key_Down);
    ASSERT_EQ(w.Selected(), "Caf\xc3\xa9 Society");
    w.hands.PressAndLetGo(Qt::Key_Escape);
    EXPECT_FALSE(field->isVisible());
    EXPECT_EQ(ShownNames(w), all);
    EXPECT_EQ(w.Selected(), "Caf\xc3\xa9 Society");
    EXPECT_EQ(CountPanel(w), "6 Programs  ");

    // "F&ind..." in the Programs menu opens it again, empty; Escape in the field closes it.
    w.hands.PressAndLetGo(Qt::Key_P, Qt::AltModifier);
    w.hands.PressAndLetGo(Qt::Key_I);
    EXPECT_EQ(KeyReceiver(), field);
    EXPECT_TRUE(field->text().isEmpty());
    w.hands.PressAndLetGo(Qt::Key_Q);
    EXPECT_EQ(ShownNames(w), (Texts{"Quasar"}));
    w.hands.PressAndLetGo(Qt::Key_Escape);
    EXPECT_EQ(KeyReceiver(), w.List());
    EXPECT_EQ(ShownNames(w), all);

    // The type-ahead goes by the publisher's initial again.
    w.hands.PressAndLetGo(Qt::Key_S);
    EXPECT_EQ(w.Selected(), "Repton");
}

// The list's menu, by a right-click on a row or from the keyboard: Copy Path puts the
// image's path on the clipboard, Open Containing Folder hands its folder to the desktop's
// opener (a folder that is gone is said so), and Run, Edit and Delete are enabled as the
// commands are.
TEST_F(RealHands, TheListsMenuCopiesThePathAndOpensTheFolder)
{
    const std::string elite = dir.Write("games/Elite.ssd", "disc");
    Catalogue catalogue;
    catalogue.ProgramList = {MakeProgram("A", "Elite", "Game", elite),
        MakeProgram("B", "Lost", "Game", dir / "gone/Lost.ssd")};
    WriteAppDir(catalogue, dir.path());
    WindowInHands w(dir.path());
    Activate(w.form.get());
    ASSERT_EQ(w.Selected(), "Elite");

    // A right-click on the second row selects it and opens the menu there.
    Texts items;
    bool runEnabled = true;
    WhenMenuOpens(w.form.get(), [&](QMenu* menu) {
        for (const QAction* action : menu->actions())
            items.push_back(action->isSeparator() ? "-" : action->text().toStdString());
        runEnabled = menu->findChild<QAction*>("ListRun1")->isEnabled();
        w.hands.PressAndLetGo(Qt::Key_C);
    });
    const QPoint second = w.List()->visualRect(w.List()->model()->index(1, 0)).center();
    RightClick(w.List()->viewport(), second);
    EXPECT_EQ(items, (Texts{"&Run", "&Edit", "&Delete", "-", "Open Containing &Folder", "&Copy Path"}));
    EXPECT_EQ(runEnabled, w.Enabled("RunProgram1"));
    EXPECT_FALSE(runEnabled); // no emulator chosen
    EXPECT_EQ(w.Selected(), "Lost");
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), dir / "gone/Lost.ssd");

    // Its folder is gone: said so, and nothing opened.
    WhenMenuOpens(w.form.get(), [&](QMenu*) { w.hands.PressAndLetGo(Qt::Key_F); });
    w.hands.PressAndLetGo(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(w.prompts.Texts(), Texts{"Cannot find folder " + dir / "gone/"});
    EXPECT_TRUE(w.shell.opened.empty());

    // The menu key on the first row: its folder goes to the opener.
    w.hands.PressAndLetGo(Qt::Key_Up);
    ASSERT_EQ(w.Selected(), "Elite");
    WhenMenuOpens(w.form.get(), [&](QMenu*) { w.hands.PressAndLetGo(Qt::Key_F); });
    w.hands.PressAndLetGo(Qt::Key_Menu);
    EXPECT_EQ(w.shell.opened, Texts{dir / "games/"});
    WhenMenuOpens(w.form.get(), [&](QMenu*) { w.hands.PressAndLetGo(Qt::Key_C); });
    w.hands.PressAndLetGo(Qt::Key_Menu);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), elite);
    EXPECT_EQ(w.Selected(), "Elite"); // F10 and the menu key are no type-ahead
}
