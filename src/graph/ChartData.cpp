#include "graph/ChartData.h"

#include "grid/GridModel.h"

namespace vantrep::graph {

QString defaultSeriesLabel(int series) { return QStringLiteral("Series %1").arg(series); }

ChartData loadChartData(const grid::GridModel& grid) {
    ChartData data;
    const int seriesCount = grid.cols() - grid.frozenCols() - grid.fixedCols();
    const int pointCount = grid.rows() - grid.fixedRows();
    if (seriesCount < 0 || pointCount <= 0) return data;
    const int firstValueCol = grid.fixedCols() + grid.frozenCols();
    const int firstRow = grid.fixedRows();

    for (int s = 0; s < seriesCount; ++s) {
        if (grid.fixedRows() >= 2) {
            const QString heading = grid.textMatrix(grid.fixedRows() - 2, firstValueCol + s);
            data.seriesLabels.append(heading.isEmpty() ? QStringLiteral("None") : heading);
        } else {
            data.seriesLabels.append(defaultSeriesLabel(s + 1));
        }
    }

    data.pointKeys.reserve(static_cast<size_t>(pointCount));
    data.pointLabels.reserve(pointCount);
    for (int p = 0; p < pointCount; ++p) {
        const int row = firstRow + p;
        data.pointKeys.push_back(grid.fixedCols() < grid.cols() ? grid.valueMatrix(row, grid.fixedCols()) : 0.0);
        QStringList parts;
        for (int col = grid.fixedCols(); col < firstValueCol && col < grid.cols(); ++col) {
            const QString text = grid.textMatrix(row, col).trimmed();
            if (!text.isEmpty()) parts.append(text);
        }
        data.pointLabels.append(parts.join(QStringLiteral(" - ")));
    }

    data.values.assign(static_cast<size_t>(seriesCount), std::vector<double>(static_cast<size_t>(pointCount)));
    for (int p = 0; p < pointCount; ++p)
        for (int s = 0; s < seriesCount; ++s)
            data.values[static_cast<size_t>(s)][static_cast<size_t>(p)] = grid.valueMatrix(firstRow + p, firstValueCol + s);
    return data;
}

}  // namespace vantrep::graph
