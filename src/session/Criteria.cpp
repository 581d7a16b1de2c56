#include "session/Criteria.h"

namespace vantrep::session {

QString getCriteria(const QString& sPageFilterText, const QString& sReportTitle) {
    QString separator = sPageFilterText.isEmpty() ? QString() : QString(QChar(13));
    return sPageFilterText.mid(1) + separator + sReportTitle;
}

}  // namespace vantrep::session
