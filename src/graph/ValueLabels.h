// The texts of the chart's value labels: percentages when the first variable
// shows its share of the total (its grid columns hold percentages), else
// whole numbers with thousands separators.
#pragma once

#include <QString>

#include "session/FieldDef.h"

namespace vantrep::graph {

// Whether value labels show percentages: aVars(1) exists and has ShowTotal set.
bool labelsShowPercent(const session::FieldList& aVars);

// The label text of `value`: "###.00%" when `showPercent`, else "###,###,###,###".
QString valueLabelText(double value, bool showPercent);

}  // namespace vantrep::graph
