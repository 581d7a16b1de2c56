// The chart's data as the chart window reads it from the main grid: one
// series per value column, one point per data row. The grid's layout is that
// of the summary grid: fixed columns, then the frozen row-dimension columns,
// then the value columns; fixed (heading) rows, then the data rows.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vantrep::grid { class GridModel; }

namespace vantrep::graph {

struct ChartData {
    // Series labels: the innermost column-dimension value of each value
    // column (the heading row just above the last one), "None" for an empty
    // heading; "Series k" (1-based) when the grid has only one heading row.
    QStringList seriesLabels;
    // The first row-dimension column's number at each point (0 for a text).
    std::vector<double> pointKeys;
    // The texts of each data row's row-dimension columns joined with " - ",
    // for annotating the category axis.
    QStringList pointLabels;
    // values[s][p]: the number of value column s at data row p.
    std::vector<std::vector<double>> values;

    int seriesCount() const { return static_cast<int>(values.size()); }
    int pointCount() const { return static_cast<int>(pointKeys.size()); }
    bool empty() const { return values.empty() || pointKeys.empty(); }
};

// Reads the chart data from `grid`. A grid whose value-column count
// (columns - frozen - fixed) is negative gives empty data; so does one
// without data rows.
ChartData loadChartData(const grid::GridModel& grid);

// The default label of series `series` (1-based).
QString defaultSeriesLabel(int series);

}  // namespace vantrep::graph
