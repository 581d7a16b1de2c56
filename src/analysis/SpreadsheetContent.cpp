#include "analysis/SpreadsheetContent.h"

namespace vantrep::analysis {

namespace {

using session::FieldDef;

// The summary's share-of-total columns ("caption%") are shown as "###.00".
const QString sharePattern = QStringLiteral("###.00");

// The pattern of a summary value column headed `heading`; "" when no
// variable has that caption.
QString summaryPattern(const session::Session& s, const QString& heading) {
    for (int v = 1; v <= s.aVars.upperBound(); ++v)
        if (s.aVars(v).FDesc == heading) return s.aVars(v).Layout;
    for (int v = 1; v <= s.aVars.upperBound(); ++v)
        if (s.aVars(v).ShowTotal && s.aVars(v).FDesc + "%" == heading) return sharePattern;
    return QString();
}

// How the listing shows a field: numbers grouped with the field's
// decimals, dates as dd/mm/yyyy, anything else as text.
QString listingPattern(const FieldDef& f) {
    const QString type = f.FType.trimmed();
    if (type == "N") return f.FDec > 0 ? "#,###." + QString(f.FDec, '0') : "#,###";
    if (type == "D") return "dd/mm/yyyy";
    return QString();
}

QString detailedPattern(const session::Session& s, const QString& heading) {
    for (int i = 1; i <= s.aDims.upperBound(); ++i) {
        if (!s.aDims(i).Displayed || static_cast<size_t>(i) >= s.cmbField.size()) continue;
        if (s.cmbField[static_cast<size_t>(i)].items.value(0) == heading) return listingPattern(s.aDims(i));
    }
    return QString();
}

}  // namespace

SpreadsheetContent SpreadsheetContentFor(const session::Session& s, const grid::GridModel& grid,
                                         const QString& criteria, const QString& reportFolder) {
    SpreadsheetContent content{criteria, s.sReportName, reportFolder, {}};
    const int headingRow = grid.fixedRows() - 1;
    const int firstValueCol = grid.fixedCols() + grid.frozenCols();
    for (int c = 0; c < grid.cols(); ++c) {
        QString pattern;
        if (headingRow >= 0 && c >= firstValueCol) {
            const QString heading = grid.textMatrix(headingRow, c);
            pattern = s.bDetailed ? detailedPattern(s, heading) : summaryPattern(s, heading);
        }
        content.columns.push_back(SheetFormatOf(pattern));
    }
    return content;
}

}  // namespace vantrep::analysis
