#include "graph/ui/ChartWidget.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPolarChart>
#include <QSet>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "graph/ChartShares.h"
#include "graph/PointThinning.h"
#include "graph/ValueLabels.h"
#include "print/PrintFont.h"

namespace vantrep::graph::ui {

namespace {

// Buckets a long series is thinned to: more detail than any screen shows.
constexpr int displayBuckets = 500;
// A polar chart draws each segment through costly angle arithmetic.
constexpr int radarBuckets = 120;
// Above this many points a series is drawn without antialiasing: smoothing
// thousands of crossing edges costs seconds per paint and shows nothing more.
constexpr int smoothPointLimit = 1000;
// At most this many category labels along the X axis.
constexpr int maxAxisLabels = 12;
const QColor labelColour(0, 0, 204);

const QColor seriesPalette[] = {
    QColor(0, 0, 255),   QColor(255, 0, 0),   QColor(0, 160, 0),     QColor(255, 160, 0),
    QColor(160, 0, 160), QColor(0, 160, 160), QColor(128, 64, 0),    QColor(255, 0, 255),
    QColor(96, 96, 96),  QColor(0, 0, 128),   QColor(128, 128, 0),   QColor(0, 200, 255),
};

QFont tahoma(double points, bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont fontOf(const print::PrintFont& printFont) {
    QFont font(printFont.name);
    font.setPointSizeF(printFont.size);
    font.setBold(printFont.bold);
    font.setItalic(printFont.italic);
    font.setUnderline(printFont.underline);
    font.setStrikeOut(printFont.strikeOut);
    return font;
}

// Category labels must differ from one another on a QCategoryAxis.
QString uniqueLabel(const QString& text, int point, QSet<QString>& used) {
    QString label = text.isEmpty() ? QString::number(point + 1) : text;
    if (used.contains(label)) label += QStringLiteral(" (%1)").arg(point + 1);
    used.insert(label);
    return label;
}

}  // namespace

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("Chart2D1");
    header_.font = print::PrintFont{QStringLiteral("Tahoma"), 14, true};
    footer_.font = print::PrintFont{QStringLiteral("Tahoma"), 12, true};
    headerLabel_ = new QLabel(this);
    headerLabel_->setObjectName("chartHeader");
    footerLabel_ = new QLabel(this);
    footerLabel_->setObjectName("chartFooter");
    for (QLabel* label : {headerLabel_, footerLabel_}) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setAutoFillBackground(true);
        label->setContentsMargins(4, 4, 4, 4);
    }
    view_ = new QChartView(this);
    view_->setObjectName("chartView");
    view_->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(headerLabel_);
    layout->addWidget(view_, 1);
    layout->addWidget(footerLabel_);
    applyTitle(headerLabel_, header_, headerBack_);
    applyTitle(footerLabel_, footer_, footerBack_);
    rebuild();
}

ChartWidget::~ChartWidget() = default;

void ChartWidget::showData(ChartData data, ChartKind kind) {
    data_ = std::move(data);
    kind_ = kind;
    rebuild();
}

void ChartWidget::setDepth(int pixels) {
    if (pixels == depth_) return;
    depth_ = pixels;
    rebuild();
}

void ChartWidget::setLabels(bool shown, bool showPercent) {
    labelsShown_ = shown;
    showPercent_ = showPercent;
    view_->setUpdatesEnabled(false);
    clearLabels();
    if (labelsShown_) makeLabels();
    layoutOverlays();
    view_->setUpdatesEnabled(true);
}

QStringList ChartWidget::labelTexts() const {
    QStringList texts;
    for (const QGraphicsSimpleTextItem* label : labels_) texts.append(label->text());
    return texts;
}

void ChartWidget::rebuild() {
    // The new chart is made whole before the view shows it: no repaint per series.
    view_->setUpdatesEnabled(false);
    labels_.clear();
    labelPoints_.clear();
    drawn_.clear();
    QChart* chart = kind_ == ChartKind::Radar ? new QPolarChart : new QChart;
    chart->setBackgroundBrush(chartBack_);
    chart->setBackgroundRoundness(0);
    chart->legend()->setFont(tahoma(9, false));
    chart->legend()->setAlignment(Qt::AlignRight);
    addSeries(chart);
    addAxes(chart);
    view_->setRenderHint(QPainter::Antialiasing, data_.pointCount() <= smoothPointLimit);
    QChart* old = chart_;
    chart_ = chart;
    view_->setChart(chart);
    delete old;
    connect(chart, &QChart::plotAreaChanged, this, [this] { layoutOverlays(); });
    if (labelsShown_) makeLabels();
    layoutOverlays();
    view_->setUpdatesEnabled(true);
}

void ChartWidget::addSeries(QChart* chart) {
    const int n = data_.pointCount();
    if (data_.empty()) return;
    const bool stacked = kind_ == ChartKind::StackedArea;
    const bool area = kind_ == ChartKind::Area || stacked;
    const std::vector<std::vector<double>> tops = stacked ? stackedTops(percentShares(data_)) : data_.values;
    const std::vector<int> shared = stacked ? strideIndices(n, 2 * displayBuckets) : std::vector<int>();

    for (int s = 0; s < data_.seriesCount(); ++s) {
        DrawnSeries drawn;
        const std::vector<double>& values = tops[static_cast<size_t>(s)];
        if (stacked)
            drawn.points = shared;
        else if (area)
            drawn.points = peakIndices(values, displayBuckets);
        else if (kind_ == ChartKind::Radar)
            drawn.points = thinnedIndices(values, radarBuckets);
        else
            drawn.points = thinnedIndices(values, displayBuckets);
        QList<QPointF> upper;
        QList<QPointF> lower;
        for (int p : drawn.points) {
            const double y = tops[static_cast<size_t>(s)][static_cast<size_t>(p)];
            upper.append(QPointF(p, y));
            drawn.values.push_back(QPointF(p, y));
            lower.append(QPointF(p, stacked && s > 0 ? tops[static_cast<size_t>(s) - 1][static_cast<size_t>(p)] : 0.0));
        }
        if (kind_ == ChartKind::Radar && !upper.isEmpty()) upper.append(QPointF(n, upper.front().y()));

        auto* line = new QLineSeries;
        line->replace(upper);
        drawn.line = line;
        QAbstractSeries* series = line;
        if (area) {
            auto* bottom = new QLineSeries;
            bottom->replace(lower);
            drawn.lower = bottom;
            series = new QAreaSeries(line, bottom);
            // An area series does not own its lines.
            line->setParent(series);
            bottom->setParent(series);
        }
        series->setName(data_.seriesLabels.value(s));
        drawn.coloured = series;

        if (depth_ > 0) {
            drawn.shadowUpper = new QLineSeries;
            QAbstractSeries* shadow = drawn.shadowUpper;
            if (area) {
                drawn.shadowLower = new QLineSeries;
                shadow = new QAreaSeries(drawn.shadowUpper, drawn.shadowLower);
                drawn.shadowUpper->setParent(shadow);
                drawn.shadowLower->setParent(shadow);
            }
            drawn.shadow = shadow;
            chart->addSeries(shadow);
        }
        chart->addSeries(series);
        drawn_.push_back(std::move(drawn));
    }
    for (size_t i = 0; i < drawn_.size(); ++i) {
        applyColours(i);
        if (drawn_[i].shadow)
            for (QLegendMarker* marker : chart->legend()->markers(drawn_[i].shadow)) marker->setVisible(false);
    }
}

void ChartWidget::addAxes(QChart* chart) {
    const int n = std::max(1, data_.pointCount());
    const QFont axisFont = tahoma(10, true);

    auto* categories = new QCategoryAxis;
    categories->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    categories->setLabelsFont(axisFont);
    categories->setStartValue(-1);
    const int step = std::max(1, (n + maxAxisLabels - 1) / maxAxisLabels);
    QSet<QString> used;
    for (int p = 0; p < data_.pointCount(); p += step) categories->append(uniqueLabel(data_.pointLabels.value(p), p, used), p);

    auto* values = new QValueAxis;
    values->setLabelsFont(axisFont);
    if (kind_ == ChartKind::StackedArea) {
        values->setRange(0, 100);
        values->setLabelFormat(QStringLiteral("%.0f%%"));
    } else {
        double low = 0;
        double high = 0;
        for (const std::vector<double>& series : data_.values)
            for (double v : series) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        if (high <= low) high = low + 1;
        values->setRange(low, high);
        values->applyNiceNumbers();
    }

    if (kind_ == ChartKind::Radar) {
        categories->setRange(0, n);
        categories->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        auto* polar = static_cast<QPolarChart*>(chart);
        polar->addAxis(categories, QPolarChart::PolarOrientationAngular);
        polar->addAxis(values, QPolarChart::PolarOrientationRadial);
    } else {
        categories->setRange(0, std::max(1, n - 1));
        if (data_.pointCount() > 6) categories->setLabelsAngle(-45);
        chart->addAxis(categories, Qt::AlignBottom);
        chart->addAxis(values, Qt::AlignLeft);
    }
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(categories);
        series->attachAxis(values);
    }
}

QColor ChartWidget::seriesColor(int series) const {
    auto picked = pickedColours_.find(series);
    if (picked != pickedColours_.end()) return picked->second;
    return seriesPalette[static_cast<size_t>(series) % std::size(seriesPalette)];
}

void ChartWidget::setSeriesColor(int series, const QColor& colour) {
    pickedColours_[series] = colour;
    if (series < 0 || static_cast<size_t>(series) >= drawn_.size()) return;
    view_->setUpdatesEnabled(false);
    applyColours(static_cast<size_t>(series));
    view_->setUpdatesEnabled(true);
}

void ChartWidget::applyColours(size_t series) {
    DrawnSeries& drawn = drawn_[series];
    const QColor colour = seriesColor(static_cast<int>(series));
    const QColor dark = colour.darker(220);
    if (auto* area = qobject_cast<QAreaSeries*>(drawn.coloured)) {
        area->setBrush(colour);
        if (data_.pointCount() <= smoothPointLimit)
            area->setPen(QPen(colour.darker(150), 1));
        else
            area->setPen(Qt::NoPen);
    } else {
        drawn.line->setPen(QPen(colour, 2));
    }
    if (auto* area = qobject_cast<QAreaSeries*>(drawn.shadow)) {
        area->setBrush(dark);
        area->setPen(QPen(dark, 1));
    } else if (drawn.shadowUpper) {
        drawn.shadowUpper->setPen(QPen(dark, 3));
    }
}

void ChartWidget::makeLabels() {
    if (!chart_) return;
    const QFont font = tahoma(7, false);
    for (size_t i = 0; i < drawn_.size(); ++i) {
        const std::vector<double>& values = data_.values[i];
        for (size_t k = 0; k < drawn_[i].points.size(); ++k) {
            const double value = values[static_cast<size_t>(drawn_[i].points[k])];
            if (value == 0) continue;
            auto* label = new QGraphicsSimpleTextItem(valueLabelText(value, showPercent_), chart_);
            label->setFont(font);
            label->setBrush(labelColour);
            label->setZValue(100);
            labels_.push_back(label);
            labelPoints_.push_back({i, k});
        }
    }
}

void ChartWidget::clearLabels() {
    for (QGraphicsSimpleTextItem* label : labels_) delete label;
    labels_.clear();
    labelPoints_.clear();
}

void ChartWidget::layoutOverlays() {
    if (!chart_ || drawn_.empty()) return;
    const QPointF back(depth_, -depth_);
    for (DrawnSeries& drawn : drawn_) {
        if (!drawn.shadowUpper) continue;
        QList<QPointF> upper;
        for (const QPointF& value : drawn.values)
            upper.append(chart_->mapToValue(chart_->mapToPosition(value, drawn.coloured) + back, drawn.coloured));
        if (kind_ == ChartKind::Radar && !upper.isEmpty()) upper.append(chart_->mapToValue(
            chart_->mapToPosition(QPointF(data_.pointCount(), drawn.values.front().y()), drawn.coloured) + back, drawn.coloured));
        drawn.shadowUpper->replace(upper);
        if (drawn.shadowLower) {
            QList<QPointF> lower;
            for (const QPointF& value : drawn.lower->points())
                lower.append(chart_->mapToValue(chart_->mapToPosition(value, drawn.coloured) + back, drawn.coloured));
            drawn.shadowLower->replace(lower);
        }
    }
    for (size_t l = 0; l < labels_.size(); ++l) {
        const auto [series, k] = labelPoints_[l];
        const QPointF at = chart_->mapToPosition(drawn_[series].values[k], drawn_[series].coloured);
        const QRectF box = labels_[l]->boundingRect();
        labels_[l]->setPos(at.x() - box.width() / 2, at.y() - box.height() - 5);
    }
}

void ChartWidget::setHeader(const report::TitleHolder& header) {
    header_ = header;
    applyTitle(headerLabel_, header_, headerBack_);
}

void ChartWidget::setFooter(const report::TitleHolder& footer) {
    footer_ = footer;
    applyTitle(footerLabel_, footer_, footerBack_);
}

void ChartWidget::setHeaderBackground(const QColor& colour) {
    headerBack_ = colour;
    applyTitle(headerLabel_, header_, headerBack_);
}

void ChartWidget::setFooterBackground(const QColor& colour) {
    footerBack_ = colour;
    applyTitle(footerLabel_, footer_, footerBack_);
}

void ChartWidget::setChartBackground(const QColor& colour) {
    chartBack_ = colour;
    if (chart_) chart_->setBackgroundBrush(colour);
}

void ChartWidget::applyTitle(QLabel* label, const report::TitleHolder& title, const QColor& background) {
    label->setText(title.Tag);
    label->setFont(fontOf(title.font));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, print::colorFromCode(title.color));
    palette.setColor(QPalette::Window, background.isValid() ? background : chartBack_);
    label->setPalette(palette);
    label->setVisible(!title.Tag.isEmpty());
}

QPoint ChartWidget::pointPosition(int series, int point) const {
    if (!chart_ || series < 0 || static_cast<size_t>(series) >= drawn_.size()) return QPoint(-1, -1);
    const DrawnSeries& drawn = drawn_[static_cast<size_t>(series)];
    auto found = std::find(drawn.points.begin(), drawn.points.end(), point);
    if (found == drawn.points.end()) return QPoint(-1, -1);
    const QPointF value = drawn.values[static_cast<size_t>(found - drawn.points.begin())];
    const QPointF scene = chart_->mapToScene(chart_->mapToPosition(value, drawn.coloured));
    return view_->mapTo(this, view_->mapFromScene(scene));
}

ChartHit ChartWidget::hitAt(const QPoint& pos) const {
    if (headerLabel_->isVisible() && headerLabel_->geometry().contains(pos)) return {ChartHit::Region::Header};
    if (footerLabel_->isVisible() && footerLabel_->geometry().contains(pos)) return {ChartHit::Region::Footer};
    if (!view_->geometry().contains(pos) || !chart_) return {};
    const QPointF scene = view_->mapToScene(view_->mapFrom(this, pos));
    const QPointF inChart = chart_->mapFromScene(scene);
    if (chart_->legend()->isVisible() && chart_->legend()->geometry().contains(inChart)) return {};
    if (!chart_->plotArea().contains(inChart)) return {ChartHit::Region::Background};
    ChartHit best;
    double bestDistance = pickDistance;
    for (size_t i = 0; i < drawn_.size(); ++i) {
        const DrawnSeries& drawn = drawn_[i];
        for (size_t k = 0; k < drawn.values.size(); ++k) {
            const QPointF at = chart_->mapToPosition(drawn.values[k], drawn.coloured);
            const double distance = std::hypot(at.x() - inChart.x(), at.y() - inChart.y());
            if (distance <= bestDistance) {
                bestDistance = distance;
                best = {ChartHit::Region::Series, static_cast<int>(i), drawn.points[k]};
            }
        }
    }
    return best;
}

QImage ChartWidget::toImage(qreal scale) {
    QImage image((QSizeF(size()) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    render(&painter);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}

QImage ChartWidget::toImage(QSize size) {
    resize(size);
    if (QLayout* own = layout()) own->activate();
    // The chart lays itself out from posted events; let them run before drawing.
    QCoreApplication::sendPostedEvents();
    if (chart_ && chart_->layout()) chart_->layout()->activate();
    return toImage(1.0);
}

}  // namespace vantrep::graph::ui
