// Opening a report: `OpenDizave` finds the data table and structure file of
// the folder named by the start-up argument, copies the folder to a working
// folder, opens the connection and the structure table, loads the layout and
// checks the dimension values. `LoadDizaveLayout` turns the structure table
// into the field dictionary and the value lists.
#pragma once

#include <QString>

#include "session/Session.h"

namespace vantrep::session {

enum class OpenOutcome {
    Opened,       // the report is open: run the first query
    Idle,         // nothing to open ("" or "-Embedding")
    FixedReport,  // the argument names a fixed-format report: the data connection is open for it
    Refused,      // a check or an error stopped the open (its message was shown)
    Fatal,        // a fatal message was shown: the program ends with a failure status
};

// `cmdPath` is "path[,n]" as the delivering application passes it: the data
// table (".dbf") or the structure file (".str", ".dtr"), optionally followed by
// the number of a fixed-format report. Opens no structure for a fixed-format
// report: the caller produces it (`FixedReportField` tells which).
OpenOutcome OpenDizave(Session& session, const QString& cmdPath);

// The second field of a report argument ("" when it has none): the number of
// the fixed-format report it asks for, as given.
QString FixedReportField(const QString& cmdPath);

// Reads `rsStruct` into aDims, aVars and the value lists. Returns Opened, or
// Fatal when the structure describes no report ("Unauthorized execution.
// Can't continue!" has been shown), or Refused when the data table could not
// be read for a value list (its error has been shown once).
OpenOutcome LoadDizaveLayout(Session& session);

// The program's connection string for a working folder ending in "/".
QString ConnectionStringFor(const QString& folder);

}  // namespace vantrep::session
