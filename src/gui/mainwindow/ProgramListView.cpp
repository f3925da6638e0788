#include "mainwindow/ProgramListView.h"

#include "mainwindow/VirtualKeys.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

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

void ProgramListView::keyPressEvent(QKeyEvent* event)
{
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

} // namespace vorbix::gui
