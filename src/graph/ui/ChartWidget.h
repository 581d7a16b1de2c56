// The chart as the user sees it: a header above, the Qt chart (line, area,
// 100 % stacked area or radar) with its legend, and a footer below. It draws
// the chart data it is given with a depth effect (a darker copy of each
// series offset back and up by the depth in pixels), optional value labels,
// and the colours the user picked; it tells what lies under a point of the
// widget and renders itself to an image of any size. Long series are drawn
// through their thinned points (PointThinning.h).
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <map>
#include <vector>

#include "graph/ChartData.h"
#include "graph/ChartKind.h"
#include "report/TitleHolder.h"

class QGraphicsSimpleTextItem;
class QLabel;

QT_BEGIN_NAMESPACE
class QAbstractSeries;
class QChart;
class QChartView;
class QXYSeries;
class QLineSeries;
QT_END_NAMESPACE

namespace vantrep::graph::ui {

// What lies under a point of the chart widget.
struct ChartHit {
    enum class Region { Nothing, Header, Footer, Background, Series };
    Region region = Region::Nothing;
    int series = -1;  // 0-based, for Region::Series
    int point = -1;   // 0-based data point, for Region::Series
};

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    // A press this close to a drawn point, in pixels, picks its series.
    static constexpr double pickDistance = 5;
    // Depth of the depth effect when it is on, in pixels.
    static constexpr int depthOn = 10;

    explicit ChartWidget(QWidget* parent = nullptr);
    ~ChartWidget() override;

    // Draws `data` as `kind`, keeping depth, labels and colours.
    void showData(ChartData data, ChartKind kind);
    const ChartData& data() const { return data_; }
    ChartKind kind() const { return kind_; }

    void setDepth(int pixels);
    int depth() const { return depth_; }

    // Value labels: removed, then made again for every point with data
    // (a value other than 0) when `shown`. Percent texts when `showPercent`.
    void setLabels(bool shown, bool showPercent);
    bool labelsShown() const { return labelsShown_; }
    int labelCount() const { return static_cast<int>(labels_.size()); }
    QStringList labelTexts() const;

    // Header and footer: text, font and text colour; hidden while empty.
    const report::TitleHolder& header() const { return header_; }
    const report::TitleHolder& footer() const { return footer_; }
    void setHeader(const report::TitleHolder& header);
    void setFooter(const report::TitleHolder& footer);

    QColor headerBackground() const { return headerBack_; }
    QColor footerBackground() const { return footerBack_; }
    QColor chartBackground() const { return chartBack_; }
    void setHeaderBackground(const QColor& colour);
    void setFooterBackground(const QColor& colour);
    void setChartBackground(const QColor& colour);
    // Series colours (0-based series); a picked colour stays for the series
    // through later kinds and reloads.
    QColor seriesColor(int series) const;
    void setSeriesColor(int series, const QColor& colour);

    // `pos` in this widget's coordinates.
    ChartHit hitAt(const QPoint& pos) const;
    // Where data point `point` of series `series` is drawn, in this
    // widget's coordinates (for tests and hit checks).
    QPoint pointPosition(int series, int point) const;

    // The widget drawn as it is, `scale` image pixels to a widget pixel
    // (2 gives a sharper picture for printing).
    QImage toImage(qreal scale = 1);
    // Resizes the widget to `size` and draws it: for pictures made without a window.
    QImage toImage(QSize size);

    QChart* chart() const { return chart_; }
    QChartView* view() const { return view_; }
    QLabel* headerLabel() const { return headerLabel_; }
    QLabel* footerLabel() const { return footerLabel_; }

private:
    // One data series as drawn: the line its points lie on (the top of an
    // area), the series in the chart (which carries its colour and maps its
    // values to positions), the points drawn and the shadow series of the
    // depth effect.
    struct DrawnSeries {
        QXYSeries* line = nullptr;
        QAbstractSeries* coloured = nullptr;
        std::vector<int> points;  // data point indices
        std::vector<QPointF> values;  // chart values at `points`
        QLineSeries* shadowUpper = nullptr;
        QLineSeries* shadowLower = nullptr;
        QXYSeries* lower = nullptr;  // the bottom of an area, if any
        QAbstractSeries* shadow = nullptr;
    };

    void rebuild();
    void addSeries(QChart* chart);
    void addAxes(QChart* chart);
    void applyColours(size_t series);
    void makeLabels();
    void clearLabels();
    void layoutOverlays();
    void applyTitle(QLabel* label, const report::TitleHolder& title, const QColor& background);

    ChartData data_;
    ChartKind kind_ = ChartKind::Line;
    int depth_ = 0;
    bool labelsShown_ = false;
    bool showPercent_ = false;
    report::TitleHolder header_;
    report::TitleHolder footer_;
    QColor headerBack_;
    QColor footerBack_;
    QColor chartBack_ = Qt::white;
    std::map<int, QColor> pickedColours_;

    QLabel* headerLabel_;
    QLabel* footerLabel_;
    QChartView* view_;
    QChart* chart_ = nullptr;
    std::vector<DrawnSeries> drawn_;
    std::vector<QGraphicsSimpleTextItem*> labels_;
    std::vector<std::pair<size_t, size_t>> labelPoints_;  // drawn series, index into its points
};

}  // namespace vantrep::graph::ui
