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

signals:
    void Clicked();
    void DoubleClicked();
    void KeyDown(int virtualKey);
    void KeyUp(int virtualKey);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The keys pressed while the list had the focus and not yet let go.
    QSet<int> pressedKeys_;
};

} // namespace vorbix::gui
