// Field dictionaries for the designer tests, built in a line per field, and
// a look at a designer grid as the captions of its data rows.
#pragma once

#include <QString>
#include <QStringList>

#include "design/DesignGrids.h"
#include "session/FieldDef.h"

namespace vantrep::design::testing {

inline session::FieldDef Dim(const QString& caption, const QString& role, int level, int fdec = 0,
                             bool showTotal = false) {
    session::FieldDef f;
    f.FDesc = caption;
    f.FName = caption.toUpper();
    f.FType = "C";
    f.FLen = 10;
    f.Layout = role;
    f.Level = level;
    f.FDec = fdec;
    f.ShowTotal = showTotal;
    return f;
}

inline session::FieldList Fields(std::initializer_list<session::FieldDef> fields) {
    session::FieldList list;
    for (const session::FieldDef& f : fields) list.append(f);
    return list;
}

// The data rows' captions; a top-level row of the column grid reads "[A]".
inline QStringList Captions(const DesignGrids& grids, DesignGrid id) {
    const grid::GridModel& g = grids[id];
    QStringList out;
    for (int r = g.fixedRows(); r < g.rows(); ++r) {
        const QString caption = g.textMatrix(r, CaptionColumn(id));
        out << (id == DesignGrid::Columns && g.outlineLevel(r) == 1 ? "[" + caption + "]" : caption);
    }
    return out;
}

// The row data of the column grid's data rows: each row's group.
inline QStringList Groups(const DesignGrids& grids) {
    QStringList out;
    for (int r = grids.columns.fixedRows(); r < grids.columns.rows(); ++r) out << grids.columns.rowData(r).toString();
    return out;
}

}  // namespace vantrep::design::testing
