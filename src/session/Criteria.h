// The criteria text: what the current report is restricted to, as the
// "criteria" command shows it and reports and charts print it.
#pragma once

#include <QString>

namespace vantrep::session {

// `getCriteria`: the page filter's display text without its leading blank,
// a carriage return when there is one, then the report's title text.
QString getCriteria(const QString& sPageFilterText, const QString& sReportTitle);

}  // namespace vantrep::session
