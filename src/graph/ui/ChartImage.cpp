#include "graph/ui/ChartImage.h"

#include <QImageWriter>

#include "graph/ChartData.h"
#include "graph/ui/ChartWidget.h"

namespace vantrep::graph::ui {

QImage renderChartImage(const grid::GridModel& grid, const ChartPicture& picture) {
    ChartData data = loadChartData(grid);
    if (data.empty()) return QImage();
    ChartWidget chart;
    chart.setAttribute(Qt::WA_DontShowOnScreen);
    report::TitleHolder header = chart.header();
    header.Tag = picture.header;
    chart.setHeader(header);
    chart.showData(std::move(data), picture.kind);
    chart.setLabels(picture.labels, picture.showPercent);
    return chart.toImage(picture.size);
}

ImageFormat imageFormatFor(const QString& path) {
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? ImageFormat::Png : ImageFormat::Jpeg;
}

bool saveChartImage(const QImage& image, const QString& path, ImageFormat format, QString* error) {
    QImageWriter writer(path, format == ImageFormat::Png ? "png" : "jpeg");
    if (format == ImageFormat::Jpeg) {
        writer.setQuality(100);
        writer.setProgressiveScanWrite(true);
        writer.setOptimizedWrite(true);
    }
    if (writer.write(image)) return true;
    if (error) *error = QStringLiteral("The picture could not be written to %1: %2").arg(path, writer.errorString());
    return false;
}

bool writeChartImage(const grid::GridModel& grid, const ChartPicture& picture, const QString& path,
                     QString* error) {
    const QImage image = renderChartImage(grid, picture);
    if (image.isNull()) {
        if (error) *error = QStringLiteral("The grid holds no data to chart.");
        return false;
    }
    return saveChartImage(image, path, imageFormatFor(path), error);
}

}  // namespace vantrep::graph::ui
