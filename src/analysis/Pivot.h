// The cross-tab facility: the grouped ("long") result of a cross-tab
// statement widened into one record per combination of row-dimension values,
// with one value per column key and variable.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "engine/Recordset.h"
#include "engine/Value.h"
#include "session/FieldDef.h"

namespace vantrep::analysis {

struct PivotTable {
    QStringList rowFields;  // the row dimensions' names, in order
    // One name per value field: the column key's level parts joined by "|",
    // as the user sees them ("Jan|TV"; a bucket's part reads "Others"). For
    // each key in specification order there is one field per variable.
    QStringList valueFields;
    std::vector<std::vector<engine::Value>> rows;    // per record: the row dimensions' values
    std::vector<std::vector<engine::Value>> values;  // per record: one value per value field (null: no data)
};

// Widens `grouped` (open, its fields the row dimensions, then the column
// dimensions, then the variables' sums named by `measures`). `aDims` gives
// each column field's type and name for the captions of its keys. Grouped
// rows whose column values match no key are left out.
PivotTable Pivot(engine::Recordset& grouped, const QString& sRowFields, const QString& colSpec,
                 const QStringList& measures, const session::FieldList& aDims);

}  // namespace vantrep::analysis
