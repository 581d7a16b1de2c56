#include "report/PreviewReport.h"

#include "grid/GridModel.h"

namespace vantrep::report {

bool canPreviewGrid(const grid::GridModel& grid, const QString& sDataFile) {
    return grid.rows() > grid.fixedRows() && !sDataFile.isEmpty();
}

QString previewCriteria(const QString& criteria) {
    QString text = criteria;
    text.replace(u'\r', QStringLiteral("    "));
    return text;
}

}  // namespace vantrep::report
