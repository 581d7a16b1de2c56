// Filling the designer's grids from the field dictionary, and the
// "Filtered " marker on the captions of fields that carry a filter.
#pragma once

#include <vector>

#include "design/DesignGrids.h"
#include "session/FieldDef.h"
#include "session/ValueList.h"

namespace vantrep::design {

// The row grid from the "R" fields (data row = Level) and the column grid
// from the "C" fields: a top-level row per level-1 field (row = its group
// number in FDec, row 1 for group 0) and under each the nested fields of
// levels 2, 3, ... in level order. Rows left empty by gaps in the levels are
// dropped.
void FillDimensionGrids(DesignGrids& grids, const session::FieldList& aDims);

// "Selected" and "Available": a summary's variables (Level above 0
// selected, in aVars order); a listing's fields (displayed ones selected in
// column order, checked when they group; CLIPDET in neither list).
void FillVariableLists(DesignGrids& grids, const session::FieldList& aDims, const session::FieldList& aVars,
                       bool bDetailed);

// Writes "Filtered " and the caption in blue for every field whose value
// list carries a filter, the bare caption in black for the others, in the
// grids the report kind shows (summary: rows and columns; listing: both lists).
void MarkFilteredFields(DesignGrids& grids, const session::FieldList& aDims,
                        const std::vector<session::ValueList>& cmbField, bool bDetailed);

}  // namespace vantrep::design
