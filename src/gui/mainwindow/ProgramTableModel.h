#pragma once
// The program list's table: presents the rows of the core's ProgramListModel (publisher,
// program, hidden PIdx). Building, filtering and sorting are the core's.

#include "browsing/ProgramListModel.h"

#include <QAbstractTableModel>

namespace vorbix::gui {

class ProgramTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ProgramTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Rebuilds the rows through the named filter; views are told of one whole reset.
    void Rebuild(const Catalogue& catalogue, const std::string& filterName);

    // Find as you type (see ProgramListModel::SetFindText); views are told of one reset.
    void SetFindText(const std::string& text);

    ProgramListModel& Rows() { return rows_; }
    const ProgramListModel& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    ProgramListModel rows_;
};

} // namespace vorbix::gui
