// Chart pictures without a window: the chart of a grid drawn to an image,
// and images written as JPEG or PNG files. Needs a QApplication (the
// offscreen platform will do); nothing is shown.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "graph/ChartKind.h"

namespace vantrep::grid { class GridModel; }

namespace vantrep::graph::ui {

// What the picture shows and how big it is.
struct ChartPicture {
    ChartKind kind = ChartKind::Line;
    bool labels = false;       // value labels on every point with data
    bool showPercent = false;  // label texts in percent; see ValueLabels.h
    QSize size{1600, 1000};    // pixels
    QString header;            // drawn above the chart; none when empty
};

// The chart of `grid` (ChartData.h) as `picture` says; a null image when the
// grid holds nothing to chart.
QImage renderChartImage(const grid::GridModel& grid, const ChartPicture& picture);

enum class ImageFormat { Jpeg, Png };

// PNG for a name ending in ".png" (any case), else JPEG.
ImageFormat imageFormatFor(const QString& path);

// Writes `image` to `path` in `format`; JPEG at quality 100, progressive and
// optimised. On failure returns false and, when `error` is given, sets it to
// a sentence naming the file.
bool saveChartImage(const QImage& image, const QString& path, ImageFormat format, QString* error);

// renderChartImage, then saveChartImage in the format of the name. A grid with nothing to chart is a
// failure ("The grid holds no data to chart.").
bool writeChartImage(const grid::GridModel& grid, const ChartPicture& picture, const QString& path,
                     QString* error);

}  // namespace vantrep::graph::ui
