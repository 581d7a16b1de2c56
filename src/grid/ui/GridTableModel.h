// The grid model as a Qt item model for the grid view: one item row per data
// row (the fixed rows are drawn by the view's heading), one item column per
// grid column. Every change notification of the grid model resets the item
// model; the grid model collects changes while its redraw is off.
#pragma once

#include <QAbstractTableModel>

#include "grid/GridModel.h"

namespace vantrep::grid::ui {

class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Read by the cell painter: the cell's picture.
    static constexpr int PictureRole = Qt::UserRole + 1;

    explicit GridTableModel(GridModel& grid, QObject* parent = nullptr);
    ~GridTableModel() override;

    GridModel& grid() const { return grid_; }
    // The grid row of an item row.
    int gridRow(int itemRow) const { return itemRow + grid_.fixedRows(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // After every reset: the view re-reads widths, hidden rows and columns.
    void gridChanged();

private:
    void reset();

    GridModel& grid_;
    int observer_;
    int rows_ = 0;  // the counts the views were last told
    int cols_ = 0;
};

}  // namespace vantrep::grid::ui
