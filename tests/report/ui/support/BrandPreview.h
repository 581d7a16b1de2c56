// The preview the report window tests use: a grid report of a heading row
// "Brand", "Spend" over brands "Brand 1" .. "Brand 150" spending 1 .. 150
// (three A4 pages) under the main window caption "Brand Spends" and the
// criteria "All media", its messages collected instead of shown.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "grid/GridModel.h"
#include "report/ui/frmPrint.h"

namespace vantrep::testing {

inline void fillBrandGrid(grid::GridModel& g, int brands = 150) {
    g.setRows(brands + 1);
    g.setCols(3);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setFrozenCols(1);
    g.setTextMatrix(0, 1, "Brand");
    g.setTextMatrix(0, 2, "Spend");
    for (int r = 1; r <= brands; ++r) {
        g.setTextMatrix(r, 1, QString("Brand %1").arg(r));
        g.setTextMatrix(r, 2, QString::number(r));
    }
}

// Loaded but not shown.
struct BrandPreview {
    QMainWindow main;
    grid::GridModel grid;
    report::ui::frmPrint window{&main};
    QStringList messages;  // "title: text"

    BrandPreview() {
        main.setWindowTitle("Brand Spends");
        fillBrandGrid(grid);
        window.gridReport().ReportGrid = &grid;
        window.gridReport().ReportCriteria = "All media";
        window.showInformation = [this](const QString& text, const QString& title) {
            messages.append(title + ": " + text);
        };
        window.load();
    }
};

}  // namespace vantrep::testing
