#pragma once
// What the dialog tests share: a catalogue, scripted prompts and a recording shell over a
// temporary application folder, and the steps that drive a modal dialog and a list.

#include "catalogue/Catalogue.h"
#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QObject>
#include <Qt>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QAbstractButton;
class QDialog;
class QTreeView;
class QWidget;

namespace vorbix::test {

class DialogTest : public ::testing::Test {
protected:
    DialogTest() { catalogue.AppDir = dir.path(); }

    // Runs act once a modal dialog has been shown (act must close it); fails when none is
    // shown within 5 s. What is still waiting when the test ends is dropped.
    void WhenShown(std::function<void()> act);
    // Once the single-record dialog is shown (by New or Edit): the changes, then a click on
    // its OK or Cancel.
    void InDialog(QDialog& dialog, std::function<void()> changes, bool ok = true);
    // Shows a list dialog as the active window.
    void Open(QDialog& dialog);

    TempDir dir;
    Catalogue catalogue;
    FakePrompts prompts;
    RecordingShell shell;

private:
    void LookForDialog(std::function<void()> act, QDeadlineTimer deadline);

    QObject waiting_;
};

// A dialog built over a catalogue (application folder /opt/vorbix/), scripted prompts and
// a recording shell, with its controls found by name.
template <typename Form>
struct FormTest : ::testing::Test {
    Catalogue catalogue = CatalogueIn("/opt/vorbix/");
    FakePrompts prompts;
    RecordingShell shell;
    Form form{catalogue, prompts, shell};

    template <typename T>
    T* Find(const char* name) const
    {
        return form.template findChild<T*>(name);
    }
};

// Runs steps once the modal dialog about to be shown stands; a dialog they leave open is
// cancelled, so that a failing step never hangs the test.
void WhileShown(QDialog& dialog, std::function<void()> steps);

// Makes the widget's window the active one, so that keys and focus changes arrive as for
// a user.
void Activate(QWidget* widget);
// The list's rows: the caption and the hidden second column's text.
std::vector<std::pair<std::string, std::string>> ListRows(const QTreeView* list);
// A left click on the row (a row past the last clicks the empty area below the rows).
void ClickRow(QTreeView* list, int row);
// A left click on a check box's mark.
void ClickBox(QAbstractButton* box);
// The row of the list's selection, or -1.
int SelectedRow(const QTreeView* list);
// The object names of the named controls that Tab visits, in order, starting after the window.
std::vector<std::string> TabOrder(QWidget* window);

// A key struck on the widget that has the focus: its press, then its release.
void Stroke(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
// Text typed into the widget that has the focus, one stroke per (ASCII) character.
void TypeKeys(const char* text);

} // namespace vorbix::test
