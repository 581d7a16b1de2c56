// Keeping a report: the whole report (data table, its memo and the
// structure file) saved into a folder of the user's choice, or the layout
// alone written as a structure file. Both write the session's field
// dictionary back into a copy of the open structure file.
#pragma once

#include <QString>

#include "session/Session.h"

namespace vantrep::session {

// Writes the session's layout into a copy of the structure file `sStructFile`
// at the full path `sTarget`, with the structure's memo file (if any) beside
// it as ".fpt". Summary: each laid-out row takes Layout, Level, FDec and
// ShowTotal from its aDims entry; a row with a blank Layout and type "N" takes
// Level and ShowTotal from the aVars entry of the same name. Listing: row k
// takes FDesc, Level, Displayed and Divisor from aDims(k). The filters go
// into the filter file beside `sTarget` (FilterFile.h); with no field
// filtered, a filter file there from before is removed. Returns "" when
// written, else the error's description; a failed write leaves `sTarget` and
// its filter file as they were.
QString WriteStructure(Session& session, const QString& sTarget);

enum class SaveOutcome {
    NothingOpen,  // no report is open: nothing done
    Cancelled,    // the folder browse was cancelled: nothing written
    Saved,
    Failed,       // the error was shown; earlier files are intact
};

// The "save" command. The first save asks for a folder (the report name
// proposed), copies the data table and its memo there and writes the
// structure file named after the folder; later saves only rewrite that
// structure file. `sReportPath` names the saved structure file once a save
// has succeeded.
SaveOutcome SaveReport(Session& session);

// The structure file of a report saved into `folder`: named after the folder
// itself, ".dtr" for a listing, ".str" for a summary.
QString SavedStructurePath(const QString& folder, bool detailed);

}  // namespace vantrep::session
