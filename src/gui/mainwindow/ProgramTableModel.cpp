#include "mainwindow/ProgramTableModel.h"

#include "mainwindow/TextBytes.h"

namespace vorbix::gui {

void ProgramTableModel::Rebuild(const Catalogue& catalogue, const std::string& filterName)
{
    beginResetModel();
    rows_.Rebuild(catalogue, filterName);
    endResetModel();
}

void ProgramTableModel::SetFindText(const std::string& text)
{
    beginResetModel();
    rows_.SetFindText(text);
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
    // Converted here, for the rows the view asks for (those it paints or searches), from
    // the record's own bytes.
    const auto column = static_cast<ListColumn>(index.column());
    const ProgramRecord* program = rows_.Program(index.row());
    if (program == nullptr || column == ListColumn::PIdx)
        return ShownText(rows_.CellText(index.row(), column));
    return ShownText(column == ListColumn::Publisher ? program->PublisherName : program->ProgramName);
}

QVariant ProgramTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    switch (static_cast<ListColumn>(section)) {
    case ListColumn::Publisher: return QString(QStringLiteral("Publisher"));
    case ListColumn::Program: return QString(QStringLiteral("Program"));
    case ListColumn::PIdx: break;
    }
    return QString();
}

Qt::ItemFlags ProgramTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

} // namespace vorbix::gui
