// The main window's layout commands: the open report's layout saved under a
// name in the layouts folder, and a saved layout chosen for the open report.
#pragma once

#include <QString>
#include <functional>

#include "session/Session.h"

class QWidget;

namespace vantrep::analysis::ui {

// Shows the save-layout dialog over `owner` with `reportName` + ".str" (or
// ".dtr" for a listing) proposed, and writes the layout to the file chosen;
// a failed write is shown and leaves the file there as it was.
void SaveLayoutAs(session::Session& session, const QString& reportName, QWidget* owner);

// Shows the change-layout dialog over `owner` with the saved layouts that
// fit the open report; `apply` receives the path of each layout applied.
void ChooseLayout(session::Session& session, const std::function<void(const QString&)>& apply, QWidget* owner);

}  // namespace vantrep::analysis::ui
