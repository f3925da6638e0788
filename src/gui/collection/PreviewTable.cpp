#include "collection/PreviewTable.h"

#include <QHeaderView>
#include <QTableWidget>

namespace vorbix::gui {

QTableWidget* CreatePreviewTable(QWidget* parent, const QStringList& captions, const std::vector<int>& widths)
{
    auto* table = new QTableWidget(0, static_cast<int>(captions.size()), parent);
    table->setObjectName("Table");
    table->setHorizontalHeaderLabels(captions);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideMiddle);
    table->horizontalHeader()->setStretchLastSection(true);
    for (std::size_t column = 0; column < widths.size(); ++column)
        table->setColumnWidth(static_cast<int>(column), widths[column]);
    return table;
}

QTableWidgetItem* ReadOnlyItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace vorbix::gui
