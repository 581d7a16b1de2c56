// The cross-tab facility: the grouped ("long") result of a cross-tab
// statement widened into one record per combination of row-dimension values,
// with one value per column key and variable.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
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
    std::vector<std::vector<engine::Value>> rows;  // per record: the row dimensions' values
    // Per record, the value fields that have data: (index in valueFields,
    // the sum as a number), by index. A cross-tab is sparse, so fields
    // without data (no grouped row, or a NULL sum) are not held.
    std::vector<std::vector<std::pair<int, double>>> cells;

    // Every value field of `record`, empty where it has no data.
    std::vector<std::optional<double>> values(size_t record) const;
};

// Widens `grouped` (open, its fields the row dimensions, then the column
// dimensions, then the variables' sums named by `measures`). `aDims` gives
// each column field's type and name for the captions of its keys. Grouped
// rows whose column values match no key are left out.
PivotTable Pivot(engine::Recordset& grouped, const QString& sRowFields, const QString& colSpec,
                 const QStringList& measures, const session::FieldList& aDims);

}  // namespace vantrep::analysis
