#include "support/gui/DialogTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWidget>

namespace vorbix::test {

void DialogTest::WhenShown(std::function<void()> act)
{
    WhenModal(&waiting_, [act = std::move(act)](QWidget*) { act(); });
}

namespace {

void LookForModal(QObject* context, std::function<void(QWidget*)> act, QDeadlineTimer deadline)
{
    // A button's access key clicks it a moment after the key: look again until the dialog
    // stands, for a while.
    QTimer::singleShot(10, context, [context, act = std::move(act), deadline]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            if (deadline.hasExpired()) {
                ADD_FAILURE() << "no dialog was shown";
                return;
            }
            return LookForModal(context, std::move(act), deadline);
        }
        Activate(modal);
        act(modal);
    });
}

} // namespace

void WhenModal(QObject* context, std::function<void(QWidget*)> act)
{
    LookForModal(context, std::move(act), QDeadlineTimer(std::chrono::seconds(5)));
}

void DialogTest::InDialog(QDialog& dialog, std::function<void()> changes, bool ok)
{
    WhenShown([&dialog, changes = std::move(changes), ok] {
        changes();
        QTest::mouseClick(dialog.findChild<QPushButton*>(ok ? "OkButton" : "CancelButton"), Qt::LeftButton);
    });
}

void DialogTest::Open(QDialog& dialog)
{
    dialog.show();
    Activate(&dialog);
}

void WhileShown(QDialog& dialog, std::function<void()> steps)
{
    QTimer::singleShot(0, &dialog, [&dialog, steps = std::move(steps)] {
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        steps();
        if (dialog.isVisible())
            dialog.reject();
    });
}

void Activate(QWidget* widget)
{
    ASSERT_NE(widget, nullptr);
    QApplication::setActiveWindow(widget->window());
    widget->window()->activateWindow();
    QApplication::processEvents();
}

std::vector<std::pair<std::string, std::string>> ListRows(const QTreeView* list)
{
    std::vector<std::pair<std::string, std::string>> rows;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows.emplace_back(model->index(row, 0).data().toString().toStdString(),
            model->index(row, 1).data().toString().toStdString());
    return rows;
}

void ClickRow(QAbstractItemView* list, int row)
{
    const int rows = list->model()->rowCount();
    QPoint at(10, 0);
    if (row < rows)
        at = list->visualRect(list->model()->index(row, 0)).center();
    else
        at.setY(rows == 0 ? 5 : list->visualRect(list->model()->index(rows - 1, 0)).bottom() + 5);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

void ClickBox(QAbstractButton* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

int SelectedRow(const QAbstractItemView* list)
{
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

std::vector<std::string> TabOrder(QWidget* window)
{
    std::vector<std::string> names;
    for (QWidget* widget = window->nextInFocusChain(); widget != window; widget = widget->nextInFocusChain()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty())
            names.push_back(widget->objectName().toStdString());
    }
    return names;
}

void Stroke(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyPress(focused, key, modifiers);
    // The press may have moved the focus; the release goes where the focus is now.
    if (QWidget* now = QApplication::focusWidget())
        QTest::keyRelease(now, key, modifiers);
}

void TypeKeys(const char* text)
{
    for (; *text; ++text) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyPress(focused, *text);
        QTest::keyRelease(focused, *text);
    }
}

} // namespace vorbix::test
