#include "session/StartUp.h"

#include "session/HandOver.h"

namespace vantrep::session {

namespace {

bool namesAReport(const QString& commandLine) { return !commandLine.isEmpty() && commandLine != "-Embedding"; }

}  // namespace

OpenOutcome FirstActivation(Session& session) { return OpenDizave(session, session.commandLine); }

bool RunsFirstQuery(const Session& session, OpenOutcome outcome) {
    return outcome == OpenOutcome::Opened && namesAReport(session.commandLine);
}

int ExitStatusFor(OpenOutcome outcome) { return outcome == OpenOutcome::Fatal ? 1 : 0; }

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
    if (namesAReport(session.commandLine)) removeHandOverFolder(session.commandLine);
}

}  // namespace vantrep::session
