// Reading a report's structure file into the field dictionary: `aDims`,
// `aVars`, the clip flag and the report's name and title.
//
// The structure file is a table with one row per field of the data table
// (FName, FDesc, FType, FLen, FDec, Layout, Level, ShowTotal, Displayed,
// Divisor, and optionally Title). A ".str" describes a summary cross-tab: the
// rows with a role in Layout are the report's fields, the "N" rows its
// variables. A ".dtr" describes a detailed listing: every row is a field, the
// displayed ones are its columns in the order of their Divisor.
#pragma once

#include <QString>

#include "engine/Recordset.h"
#include "session/FieldDef.h"
#include "session/Ui.h"

namespace vantrep::session {

struct FieldDictionary {
    FieldList aDims;
    FieldList aVars;
    bool bClipDet = false;
    QString sReportName;
    QString sReportTitle;
    // The structure describes no report ("Unauthorized execution. Can't
    // continue!" has been shown): the program must end.
    bool refused = false;
};

// The display format of a variable's numbers, from its width and decimals:
// FLen 10, FDec 2 gives "#,###,###.00"; FLen 3, FDec 2 gives ".00".
QString VariableDisplayFormat(int FLen, int FDec);

// The structure file's base name with every "_" replaced by a blank.
QString ReportNameOf(const QString& structFile);

// Reads every row of `rsStruct` (open, positioned anywhere). A fault reading
// one value (a missing column, a null where a number is wanted) is shown
// through `ui` as a critical message and the load goes on with the next
// value, so that entry may stay incomplete.
FieldDictionary ReadFieldDictionary(engine::Recordset& rsStruct, bool bDetailed, const QString& sStructFile, Ui& ui);

}  // namespace vantrep::session
