#pragma once
// The program list control: a QTreeView that reports its clicks and keys to the main
// window, key downs before the view's own handling and key ups after it, as virtual keys.

#include <QSet>
#include <QTreeView>

namespace vorbix::gui {

class ProgramListView : public QTreeView {
    Q_OBJECT
public:
    explicit ProgramListView(QWidget* parent = nullptr);

    // The row of the current selection, or -1.
    int SelectedRow() const;
    // The index of the top visible row (rows are scrolled one at a time).
    int TopRow() const;
    // Scrolls so that the row is the top visible one, as far as the list allows.
    void SetTopRow(int row);
    // Selects the row and gives it the focus mark (-1 clears both).
    void SelectRow(int row);
    // From now on, when the list is made wider than firstWidth, the publisher and program
    // columns widen from their present widths in proportion, each up to its largest width;
    // at firstWidth or less they have their present widths again.
    void WidenColumnsBeyond(int firstWidth);

signals:
    void Clicked();
    void DoubleClicked();
    void KeyDown(int virtualKey);
    void KeyUp(int virtualKey);
    // The list's own menu is asked for, to stand at this place on the screen: by a
    // right-click (which has selected the row under it, or cleared the selection below
    // the last row), the menu key or Shift+F10 (under the selected row).
    void ContextMenuAsked(const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Where the menu asked for from the keyboard stands: under the selected row, or at the
    // list's top left.
    QPoint KeyboardMenuPlace() const;

    int firstWidth_ = 0;
    int firstColumnWidths_[2] = {};

    // The keys pressed while the list had the focus and not yet let go.
    QSet<int> pressedKeys_;
};

} // namespace vorbix::gui
