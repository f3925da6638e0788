#pragma once
// What the dialog tests share: the one fixture (a catalogue, scripted prompts and a
// recording shell over a temporary application folder), and the steps that drive a modal
// dialog and a list.

#include "catalogue/Catalogue.h"
#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <QObject>
#include <Qt>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QAbstractButton;
class QAbstractItemView;
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
    QObject waiting_;
};

// A dialog test over one dialog built with the catalogue, the prompts and the shell, with
// its controls found by name.
template <typename Form>
class FormTest : public DialogTest {
protected:
    template <typename T>
    T* Find(const char* name) const
    {
        return form.template findChild<T*>(name);
    }

    Form form{catalogue, prompts, shell};
};

// Runs act on the modal dialog (or box, or chooser) about to be shown, made the active
// window, once it stands: looked for every 10 ms, and a failure when none came within 5 s.
// Nothing runs once context is gone.
void WhenModal(QObject* context, std::function<void(QWidget*)> act);

// Runs steps once the modal dialog about to be shown stands; a dialog they leave open is
// cancelled, so that a failing step never hangs the test.
void WhileShown(QDialog& dialog, std::function<void()> steps);

// Makes the widget's window the active one, so that keys and focus changes arrive as for
// a user.
void Activate(QWidget* widget);
// The list's rows: the caption and the hidden second column's text.
std::vector<std::pair<std::string, std::string>> ListRows(const QTreeView* list);
// A left click on the row of a list or tree (a row past the last clicks the empty area
// below the rows).
void ClickRow(QAbstractItemView* list, int row);
// A left click on a check box's mark.
void ClickBox(QAbstractButton* box);
// The row of the list's or tree's selection, or -1.
int SelectedRow(const QAbstractItemView* list);
// The object names of the named controls that Tab visits, in order, starting after the window.
std::vector<std::string> TabOrder(QWidget* window);

// A key struck on the widget that has the focus: its press, then its release.
void Stroke(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
// Text typed into the widget that has the focus, one stroke per (ASCII) character.
void TypeKeys(const char* text);

} // namespace vorbix::test
