#include "grid/ui/GridTableModel.h"

#include <QFont>

#include "grid/ui/CellStyle.h"

namespace vantrep::grid::ui {

GridTableModel::GridTableModel(GridModel& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), observer_(grid.addObserver([this] { reset(); })) {
    rows_ = std::max(0, grid_.rows() - grid_.fixedRows());
    cols_ = grid_.cols();
}

GridTableModel::~GridTableModel() { grid_.removeObserver(observer_); }

void GridTableModel::reset() {
    beginResetModel();
    rows_ = std::max(0, grid_.rows() - grid_.fixedRows());
    cols_ = grid_.cols();
    endResetModel();
    emit gridChanged();
}

int GridTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    const int row = gridRow(index.row());
    const int col = index.column();
    // The grid may have changed with its redraw off since the views were told.
    if (!index.isValid() || row >= grid_.rows() || col >= grid_.cols()) return {};
    switch (role) {
    case Qt::DisplayRole:
        return grid_.textMatrix(row, col);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cellAlignment(grid_.colAlignment(col), grid_.textMatrix(row, col)));
    case Qt::FontRole:
        if (grid_.cellBold(row, col)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole: {
        const int color = grid_.cellForeColor(row, col);
        return color < 0 ? QVariant() : QVariant(gridColor(color));
    }
    case Qt::BackgroundRole: {
        const int color = grid_.cellBackColor(row, col);
        return color < 0 ? QVariant() : QVariant(gridColor(color));
    }
    case PictureRole: {
        QImage picture = grid_.cellPicture(row, col);
        return picture.isNull() ? QVariant() : QVariant(picture);
    }
    default:
        return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The column's caption is the last fixed row's text.
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || grid_.fixedRows() == 0 || section >= grid_.cols())
        return {};
    return grid_.textMatrix(grid_.fixedRows() - 1, section);
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (index.column() < grid_.fixedCols()) return Qt::ItemIsEnabled;  // the fixed column is not selectable
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace vantrep::grid::ui
