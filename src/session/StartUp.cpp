#include "session/StartUp.h"

#include "session/HandOver.h"

namespace vantrep::session {

void CloseSession(Session& session) {
    session.ResetLayoutArrays();
    try {
        if (session.rsData.State() == engine::adStateOpen) session.rsData.Close();
        if (session.rsStruct.State() == engine::adStateOpen) session.rsStruct.Close();
        if (session.cnData.State() == engine::adStateOpen) session.cnData.Close();
    } catch (...) {
        // Closing never fails the program's end.
    }
    session.workingFolderLock.release();
    if (!session.commandLine.isEmpty() && !session.embedded()) removeHandOverFolder(session.commandLine);
}

}  // namespace vantrep::session
