// Apply's write-back: the designer's grids and lists into the field
// dictionary, and the value lists reloaded for the dimensions' new roles.
#pragma once

#include "design/DesignGrids.h"
#include "session/Session.h"

namespace vantrep::design {

// The row grid: each field a row dimension ("R") of Level = its data row,
// FDec 0, ShowTotal from its check. The column grid: each field a column
// dimension ("C"); a top-level row has Level 1 and its group number in FDec
// (0 for the first group, then 2, 3, ...); the children of the first group
// get FDec 0 and Level = their row; later groups' copies change nothing else.
// The column write-back ends at the first row whose caption is no field.
void WriteBackDimensions(const DesignGrids& grids, session::FieldList& aDims);

// `ApplyVariables`' write-back. Summary: aVars rebuilt from "Selected" (Level
// = position, ShowTotal from the check) and then "Available" (Level 0,
// ShowTotal false). Listing: the selected fields are displayed, each with
// Level = the running count of checked rows (0 when unchecked); the
// available ones are neither displayed nor ordered, and the selected ones
// are ordered by their place in the list.
void WriteBackVariables(const DesignGrids& grids, session::Session& session);

// `ResetValueCombos`: every unfiltered value list starts again from its
// caption; a row or column dimension's list is filled with its values.
void ResetValueCombos(session::Session& session);

}  // namespace vantrep::design
