#include "analysis/SavedFilters.h"

#include "analysis/PageFilter.h"
#include "session/FilterFile.h"
#include "session/LayoutChange.h"

namespace vantrep::analysis {

void RestoreFilters(session::Session& session) {
    session::ReadFilterFile(session);
    UpdatePageFilter(session);
}

session::OpenOutcome ApplyLayoutWithFilters(session::Session& session, const QString& layoutPath) {
    const session::OpenOutcome applied = session::ApplyLayoutFile(session, layoutPath);
    if (applied == session::OpenOutcome::Opened) RestoreFilters(session);
    return applied;
}

}  // namespace vantrep::analysis
