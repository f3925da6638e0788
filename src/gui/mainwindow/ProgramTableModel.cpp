#include "mainwindow/ProgramTableModel.h"

#include "mainwindow/TextBytes.h"

namespace vorbix::gui {

void ProgramTableModel::Rebuild(const Catalogue& catalogue, const std::string& filterName)
{
    beginResetModel();
    rows_.Rebuild(catalogue, filterName);
    endResetModel();
}

int ProgramTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.RowCount();
}

int ProgramTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant ProgramTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return ShownText(rows_.CellText(index.row(), static_cast<ListColumn>(index.column())));
}

QVariant ProgramTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    switch (static_cast<ListColumn>(section)) {
    case ListColumn::Publisher: return QString("Publisher");
    case ListColumn::Program: return QString("Program");
    case ListColumn::PIdx: break;
    }
    return QString();
}

Qt::ItemFlags ProgramTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

} // namespace vorbix::gui
