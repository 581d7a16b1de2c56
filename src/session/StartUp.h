// The program's start and end around a report: what the first activation of
// the main window does with the command line, and the close steps.
#pragma once

#include <QString>

#include "session/ReportOpening.h"
#include "session/Session.h"

namespace vantrep::session {

// The first activation: opens the report the command line names (nothing for
// "" or "-Embedding"). The caller closes the main window on Unload or Fatal,
// and runs the first query when `RunsFirstQuery` says so.
OpenOutcome FirstActivation(Session& session);

// True after an Opened outcome for a start with a report argument.
bool RunsFirstQuery(const Session& session, OpenOutcome outcome);

// The exit status of the program after an outcome: 1 after a fatal message.
int ExitStatusFor(OpenOutcome outcome);

// The close steps, every error ignored: the field dictionary emptied, the
// recordsets and the connection closed, the working copy released, and the
// hand-over folder removed when the delivering application marked it so.
void CloseSession(Session& session);

}  // namespace vantrep::session
