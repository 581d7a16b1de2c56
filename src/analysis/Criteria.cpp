#include "analysis/Criteria.h"

namespace vantrep::analysis {

QString getCriteria(const QString& sPageFilterText, const QString& sReportTitle) {
    QString separator = sPageFilterText.isEmpty() ? QString() : QString(QChar(13));
    return sPageFilterText.mid(1) + separator + sReportTitle;
}

}  // namespace vantrep::analysis
