#pragma once
// The tables of the collection dialogs: one row per file or path, selected whole, paths
// elided in the middle (their start is the folder, their end tells the file), the last
// column taking the rest of the width; Tab leaves the table for the buttons.

#include <QStringList>

#include <vector>

class QTableWidget;
class QTableWidgetItem;
class QWidget;

namespace vorbix::gui {

// A table named "Table" with the column captions and the widths of all columns but the last.
QTableWidget* CreatePreviewTable(QWidget* parent, const QStringList& captions, const std::vector<int>& widths);

// A cell that can be selected but not edited.
QTableWidgetItem* ReadOnlyItem(const QString& text);

} // namespace vorbix::gui
