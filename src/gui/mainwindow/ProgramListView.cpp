#include "mainwindow/ProgramListView.h"

#include "mainwindow/VirtualKeys.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace vorbix::gui {

ProgramListView::ProgramListView(QWidget* parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    // The selection stays highlighted while another control has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
        colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

int ProgramListView::SelectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int ProgramListView::TopRow() const
{
    return verticalScrollBar()->value();
}

void ProgramListView::SetTopRow(int row)
{
    verticalScrollBar()->setValue(row);
}

void ProgramListView::SelectRow(int row)
{
    if (row < 0 || !model() || row >= model()->rowCount()) {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ProgramListView::WidenColumnsBeyond(int firstWidth)
{
    firstWidth_ = firstWidth;
    firstColumnWidths_[0] = columnWidth(0);
    firstColumnWidths_[1] = columnWidth(1);
}

// Only a change of width moves the columns: the find field coming or going leaves widths
// the user dragged as they are.
void ProgramListView::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    const int together = firstColumnWidths_[0] + firstColumnWidths_[1];
    if (firstWidth_ <= 0 || together <= 0 || event->size().width() == event->oldSize().width())
        return;
    const int extra = std::max(0, width() - firstWidth_);
    for (int column = 0; column < 2; ++column) {
        const int first = firstColumnWidths_[column];
        setColumnWidth(column, std::min(header()->maximumSectionSize(), first + extra * first / together));
    }
}

// A click on the empty area below the last row clears the selection and the focus mark,
// as the details panel and the commands then go by "no row selected".
void ProgramListView::mousePressEvent(QMouseEvent* event)
{
    QTreeView::mousePressEvent(event);
    if (!indexAt(event->position().toPoint()).isValid())
        SelectRow(-1);
}

void ProgramListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Clicked();
}

void ProgramListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (!indexAt(event->position().toPoint()).isValid())
        SelectRow(-1);
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
}

// The menu key and Shift+F10 open the list's menu; they are no key of the list itself (F10
// would otherwise count as a type-ahead character). Enter repeating while held after its
// press went elsewhere (to the find field, which gave the list the focus) is no key-down
// of the list either: holding it must not start the program.
void ProgramListView::keyPressEvent(QKeyEvent* event)
{
    const bool menuKey =
        event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey) {
        event->accept();
        if (!event->isAutoRepeat())
            emit ContextMenuAsked(KeyboardMenuPlace());
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->isAutoRepeat() && !pressedKeys_.contains(event->key())) {
        event->accept();
        return;
    }
    pressedKeys_.insert(event->key());
    emit KeyDown(VirtualKeyOf(*event));
    QTreeView::keyPressEvent(event);
}

// Only a key pressed in the list comes up in it. A key whose press went elsewhere (to a box
// that the press closed, to a menu, to a dialog) is let go over the list once that has gone;
// its key-up would act on what the list's last key-down left behind, and refresh the details
// for nothing.
void ProgramListView::keyReleaseEvent(QKeyEvent* event)
{
    QTreeView::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && pressedKeys_.remove(event->key()))
        emit KeyUp(VirtualKeyOf(*event));
}

// A key held while the focus leaves is let go elsewhere.
void ProgramListView::focusOutEvent(QFocusEvent* event)
{
    pressedKeys_.clear();
    QTreeView::focusOutEvent(event);
}

// A right-click asks for the menu where it was. A menu asked for from the keyboard comes
// through keyPressEvent, unless the platform sends it on its own: it is taken then too,
// but never while a menu is already open.
void ProgramListView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    if (QApplication::activePopupWidget() != nullptr)
        return;
    emit ContextMenuAsked(event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : KeyboardMenuPlace());
}

QPoint ProgramListView::KeyboardMenuPlace() const
{
    const int row = SelectedRow();
    if (row >= 0 && model() != nullptr) {
        const QRect rect = visualRect(model()->index(row, 0));
        if (rect.isValid() && viewport()->rect().intersects(rect))
            return viewport()->mapToGlobal(rect.bottomLeft() + QPoint(8, 0));
    }
    return viewport()->mapToGlobal(QPoint(0, 0));
}

} // namespace vorbix::gui
