// The program's end around a report: the close steps of the main window and
// of every front end that opened a report.
#pragma once

#include "session/Session.h"

namespace vantrep::session {

// The close steps, every error ignored: the field dictionary emptied, the
// recordsets and the connection closed, the working copy released, and the
// hand-over folder removed when the delivering application marked it so.
void CloseSession(Session& session);

}  // namespace vantrep::session
