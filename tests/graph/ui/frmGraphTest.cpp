// The chart window driven as a user drives it: toolbar buttons, presses on
// the chart with scripted colour answers, the Graph menu, resizing.
#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPolarChart>
#include <QValueAxis>

#include "graph/ui/ChartFixture.h"

namespace vantrep::graph::ui {
namespace {

using testing::ChartFixture;

int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

bool colourNear(const QImage& image, const QPoint& at, const QColor& colour) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (image.pixelColor(at + QPoint(dx, dy)) == colour) return true;
    return false;
}

TEST(frmGraph, OpensAsALineChartOfTheGridUnderItsCaption) {
    ChartFixture f;
    EXPECT_EQ(f.window->windowTitle(), "2D Chart of Brand Report");
    QStringList keys;
    for (QAction* action : f.window->toolbar()->actions()) keys.append(action->objectName());
    EXPECT_EQ(keys, (QStringList{"preview", "sep10", "export", "sep20", "line", "area", "sarea", "radar", "sep40",
                                 "3d", "labels"}));
    EXPECT_EQ(f.window->button("sarea")->toolTip(), "100 % Stacked Area Chart");
    EXPECT_EQ(f.window->button("labels")->toolTip(), "Show Data Labels (Values)");
    EXPECT_EQ(f.window->button("export")->toolTip(), "Export to JPG");

    EXPECT_EQ(f.chart().kind(), ChartKind::Line);
    EXPECT_TRUE(f.window->button("line")->isChecked());
    const QList<QAbstractSeries*> series = f.chart().chart()->series();
    ASSERT_EQ(series.size(), 3);
    EXPECT_EQ(series[0]->name(), "Jan");
    EXPECT_EQ(series[2]->name(), "Feb");
    const auto* feb = qobject_cast<QLineSeries*>(series[2]);
    ASSERT_NE(feb, nullptr);
    EXPECT_EQ(feb->points(), (QList<QPointF>{{0, 900}, {1, 1500}, {2, 300}, {3, 2000}}));
    EXPECT_EQ(f.chart().headerLabel()->text(), "Brand Report");
}

TEST(frmGraph, KindButtonsSwitchTheChart) {
    ChartFixture f;
    const QImage line = f.picture();

    f.press("area");
    EXPECT_EQ(f.chart().kind(), ChartKind::Area);
    ASSERT_NE(qobject_cast<QAreaSeries*>(f.chart().chart()->series().value(0)), nullptr);
    const QImage area = f.picture();
    EXPECT_GT(differingPixels(line, area), 1000);

    f.press("sarea");
    EXPECT_EQ(f.chart().kind(), ChartKind::StackedArea);
    auto* top = qobject_cast<QAreaSeries*>(f.chart().chart()->series().value(2));
    ASSERT_NE(top, nullptr);
    // Alpha: 1200, 3 and 900 of 2103; the last area tops out at 100 %.
    EXPECT_NEAR(top->upperSeries()->at(0).y(), 100, 1e-9);
    EXPECT_NEAR(top->lowerSeries()->at(0).y(), (1200.0 + 3) / 2103 * 100, 1e-9);
    auto* percent = qobject_cast<QValueAxis*>(f.chart().chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(percent, nullptr);
    EXPECT_EQ(percent->max(), 100);
    EXPECT_EQ(percent->labelFormat(), "%.0f%%");

    f.press("radar");
    EXPECT_EQ(f.chart().kind(), ChartKind::Radar);
    EXPECT_NE(qobject_cast<QPolarChart*>(f.chart().chart()), nullptr);
    EXPECT_GT(differingPixels(area, f.picture()), 1000);

    f.press("line");
    EXPECT_EQ(f.chart().kind(), ChartKind::Line);
    EXPECT_EQ(qobject_cast<QPolarChart*>(f.chart().chart()), nullptr);
}

TEST(frmGraph, DepthButtonDrawsAndRemovesTheDepth) {
    ChartFixture f;
    for (const char* kind : {"line", "area", "radar"}) {
        f.press(kind);
        const QImage flat = f.picture();
        f.press("3d");
        EXPECT_EQ(f.chart().depth(), 10);
        EXPECT_EQ(f.chart().chart()->series().size(), 6) << kind;  // a shadow behind each series
        EXPECT_GT(differingPixels(flat, f.picture()), 500) << kind;
        f.press("3d");
        EXPECT_EQ(f.chart().depth(), 0);
        EXPECT_EQ(differingPixels(flat, f.picture()), 0) << kind;
    }
}

TEST(frmGraph, LabelsButtonLabelsEveryPointWithData) {
    ChartFixture f;
    f.press("labels");
    // Twelve cells, two of them empty.
    EXPECT_EQ(f.chart().labelCount(), 10);
    EXPECT_TRUE(f.chart().labelTexts().contains("1,200"));
    EXPECT_TRUE(f.chart().labelTexts().contains("2,000"));
    const QImage labelled = f.picture();
    f.press("labels");
    EXPECT_EQ(f.chart().labelCount(), 0);
    EXPECT_GT(differingPixels(labelled, f.picture()), 100);
    f.press("labels");
    EXPECT_EQ(f.chart().labelCount(), 10);
    // Labels stay through a change of kind.
    f.press("radar");
    EXPECT_EQ(f.chart().labelCount(), 10);
}

TEST(frmGraph, LabelsShowPercentagesWhenTheFirstVariableShowsTotals) {
    ChartFixture f;
    f.session.aVars(1).ShowTotal = true;
    f.grid.setTextMatrix(2, 2, "12.5%");
    f.window->RefreshGraph();
    f.press("labels");
    EXPECT_TRUE(f.chart().labelTexts().contains("12.50%"));
    EXPECT_TRUE(f.chart().labelTexts().contains("200.00%"));  // the Delta spots: 2
}

TEST(frmGraph, PressesPickSeriesHeaderAndBackgroundColours) {
    ChartFixture f;
    f.ui.colors = {QColor(Qt::red), QColor(Qt::green), QColor(Qt::yellow)};

    // Beta's Feb spend: the third series, second point.
    const QPoint point = f.chart().pointPosition(2, 1);
    f.pressChart(point + QPoint(3, 2));
    ASSERT_EQ(f.ui.dialogs.size(), 1u);
    EXPECT_EQ(f.ui.dialogs[0].title, "Select Series Color");
    EXPECT_EQ(f.chart().seriesColor(2), QColor(Qt::red));
    EXPECT_EQ(qobject_cast<QLineSeries*>(f.chart().chart()->series()[2])->pen().color(), QColor(Qt::red));
    EXPECT_TRUE(colourNear(f.picture(), point, Qt::red));

    f.pressChart(f.chart().headerLabel()->geometry().center());
    EXPECT_EQ(f.ui.dialogs.back().title, "Select Header Color");
    EXPECT_EQ(f.chart().headerBackground(), QColor(Qt::green));
    EXPECT_EQ(f.picture().pixelColor(f.chart().headerLabel()->geometry().topLeft() + QPoint(2, 2)),
              QColor(Qt::green));

    const QPoint corner = f.chart().view()->geometry().topLeft() + QPoint(4, 4);
    f.pressChart(corner);
    EXPECT_EQ(f.ui.dialogs.back().title, "Select Background Color");
    EXPECT_EQ(f.chart().chartBackground(), QColor(Qt::yellow));

    // The colour stays with the series through a change of kind.
    f.press("area");
    EXPECT_EQ(qobject_cast<QAreaSeries*>(f.chart().chart()->series()[2])->brush().color(), QColor(Qt::red));
}

TEST(frmGraph, CancelOrAPressAwayFromThePointsChangesNothing) {
    ChartFixture f;
    const QColor before = f.chart().seriesColor(0);
    f.pressChart(f.chart().pointPosition(0, 0));  // no colour scripted: the dialog is cancelled
    ASSERT_EQ(f.ui.dialogs.size(), 1u);
    EXPECT_EQ(f.chart().seriesColor(0), before);
    EXPECT_TRUE(f.ui.messages.empty());

    // The middle of the plot, between points: no dialog.
    const QPoint a = f.chart().pointPosition(0, 1);
    const QPoint b = f.chart().pointPosition(0, 2);
    f.pressChart(QPoint((a.x() + b.x()) / 2, f.chart().view()->geometry().top() + 40));
    EXPECT_EQ(f.ui.dialogs.size(), 1u);
}

TEST(frmGraph, ResizingKeepsTheChartBelowTheToolbarFillingTheWindow) {
    ChartFixture f;
    for (QSize size : {QSize(640, 420), QSize(1100, 800)}) {
        f.window->resize(size);
        QTest::qWait(20);
        const QRect chart = f.chart().geometry();
        EXPECT_EQ(chart.top(), f.window->toolbar()->geometry().bottom() + 1);
        EXPECT_EQ(chart.width(), size.width());
        EXPECT_EQ(chart.bottom(), size.height() - 1);
    }
}

TEST(frmGraph, RefreshGraphReloadsTheGridIntoTheKindShown) {
    ChartFixture f;
    f.press("area");
    f.grid.setTextMatrix(3, 4, "4,000");
    f.window->RefreshGraph();
    EXPECT_EQ(f.chart().kind(), ChartKind::Area);
    auto* feb = qobject_cast<QAreaSeries*>(f.chart().chart()->series()[2]);
    ASSERT_NE(feb, nullptr);
    EXPECT_EQ(feb->upperSeries()->at(1).y(), 4000);
}

}  // namespace
}  // namespace vantrep::graph::ui
