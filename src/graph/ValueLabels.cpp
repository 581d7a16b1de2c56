#include "graph/ValueLabels.h"

#include "format/DisplayFormat.h"

namespace vantrep::graph {

bool labelsShowPercent(const session::FieldList& aVars) { return aVars.upperBound() >= 1 && aVars(1).ShowTotal; }

QString valueLabelText(double value, bool showPercent) {
    return format::Format(value, showPercent ? QStringLiteral("###.00%") : QStringLiteral("###,###,###,###"));
}

}  // namespace vantrep::graph
