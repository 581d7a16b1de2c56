// The main window's update of one field of the dictionary for the layout
// designer and automation: a field found by index or caption gets a new
// role code, level or decimals, each only when given.
#pragma once

#include <QString>

#include "session/FieldDef.h"

namespace vantrep::design {

// The marker of a text argument that was not given.
inline const QString notSupplied = QStringLiteral("Not Supplied");

// Updates aDims(index), or, when `index` is -1, the first field whose FDesc
// equals `caption` without regard to case. `role` ("R", "C", "P", "N") is
// set unless it is notSupplied; `level` and `decimals` unless they are -1.
// Returns true when anything was set; false when no field was found or
// nothing was given.
bool UpdateDimension(session::FieldList& aDims, int index, const QString& caption = notSupplied,
                     const QString& role = notSupplied, int level = -1, int decimals = -1);

}  // namespace vantrep::design
