// Layouts kept apart from any report: the layouts folder, whether a layout
// fits the open data table, and switching the open report to a layout.
#pragma once

#include <QString>
#include <QStringList>

#include "session/LayoutFiles.h"
#include "session/ReportOpening.h"
#include "session/Session.h"

namespace vantrep::session {

// The layouts folder: $VANTREP_LAYOUTS when set, else
// $XDG_DATA_HOME/vantrep/layouts (XDG_DATA_HOME defaulting to
// ~/.local/share). Made when missing. Returned without a trailing "/".
QString LayoutsFolder();

// The extension of the open report's layouts: ".dtr" for a listing, ".str" for a summary.
QString LayoutExtension(const Session& session);

// The fields a layout names (its `fname` values, trimmed) that the open data
// table has no column for, in layout order; empty when it fits. Throws
// engine::EngineError when the layout or the table cannot be read.
QStringList MissingLayoutFields(const Session& session, const QString& layoutPath);

// The layouts of the open report's kind in `folder` that fit its data table,
// in file-name order, each with its path in `folder`. The check reads a
// private copy of the folder in the temporary folder (its own fresh folder,
// never a working-copy container), so that a layout another program rewrites
// meanwhile is never read half-written; the copy goes before the return. A
// layout that cannot be read or names a field the table lacks is left out.
QList<LayoutFile> FittingLayouts(const Session& session, const QString& folder);

// Switches the open report to the layout at `layoutPath`: it becomes the
// structure file, the field dictionary and value lists are loaded from it
// (the page filter and query state start afresh) and the query restarts at
// its first statement. Returns Opened; the caller fills the grid. When the
// layout cannot be loaded (its dictionary is refused, or an error), the
// messages have been shown and the open report is left exactly as it was:
// Refused.
OpenOutcome ApplyLayout(Session& session, const QString& layoutPath);

// A layout named on the command line or chosen in the change-layout dialog:
// refused with a message (through the session's Ui) when it is of the other
// report kind, cannot be read, names fields the data table lacks (the
// message names them) or describes no report (the message says why), leaving
// the open report as it was (Refused); else applied as ApplyLayout does.
OpenOutcome ApplyLayoutFile(Session& session, const QString& layoutPath);

}  // namespace vantrep::session
