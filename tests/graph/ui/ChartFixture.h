// A chart window over a small summary grid, shown on the offscreen platform
// beside a main window captioned "Brand Report", with scripted dialogs.
#pragma once

#include <QMainWindow>
#include <QTest>
#include <QToolBar>

#include <memory>

#include "graph/ui/ChartWidget.h"
#include "graph/ui/frmGraph.h"
#include "grid/GridModel.h"
#include "session/Session.h"
#include "session/support/FakeUi.h"

namespace vantrep::graph::ui::testing {

// Two heading rows (month over variable), one label column, three value
// columns and four brands; zeros stand for empty cells.
inline void fillBrandGrid(grid::GridModel& g) {
    const char* rows[] = {
        "\tBrand\tJan\tJan\tFeb",      "\t\tSpend\tSpots\tSpend", "\tAlpha\t1,200\t3\t900",
        "\tBeta\t800\t\t1,500",        "\tGamma\t2,400\t6\t300",  "\tDelta\t\t2\t2,000",
    };
    g.setRows(6);
    g.setCols(5);
    g.setFixedRows(2);
    g.setFixedCols(1);
    g.setFrozenCols(1);
    for (int r = 0; r < 6; ++r) {
        const QStringList cells = QString(rows[r]).split('\t');
        for (int c = 0; c < 5; ++c) g.setTextMatrix(r, c, cells.value(c));
    }
}

struct ChartFixture {
    session::testing::FakeUi ui;
    session::Session session{ui, QString()};
    QMainWindow main;
    grid::GridModel grid;
    std::unique_ptr<frmGraph> window;

    ChartFixture() {
        main.setWindowTitle("Brand Report");
        fillBrandGrid(grid);
        session.sDataFile = "DATA.DBF";
        session.sReportTitle = "Brand Report";
        session.aVars.append(session::FieldDef{});
        window = std::make_unique<frmGraph>(session, grid, &main);
        window->resize(900, 600);
        window->show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(window.get());
    }

    ChartWidget& chart() { return *window->chart(); }

    void press(const QString& key) {
        QTest::mouseClick(window->toolbar()->widgetForAction(window->button(key)), Qt::LeftButton);
    }

    // A press on the chart at `pos` (chart widget coordinates), delivered to
    // the part of the chart under it.
    void pressChart(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* target = chart().childAt(pos);
        QTest::mouseClick(target, button, Qt::NoModifier, target->mapFrom(&chart(), pos));
    }

    QImage picture() { return chart().toImage(); }
};

}  // namespace vantrep::graph::ui::testing
