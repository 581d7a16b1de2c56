// The cross-tab query builder (`RunQuery`): turns the layout of a summary
// report (the field list, the variables, the value lists and their filters,
// the page filter) into the statements that feed the cross-tab, one per
// column group, and the texts the pivot needs to widen their grouped results.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "session/CrossTabQuery.h"
#include "session/FieldDef.h"
#include "session/Session.h"
#include "session/ValueList.h"

namespace vantrep::analysis {

using session::CrossTabQuery;

// The select term of dimension aDims(i) (a "C" bucket keeps the selected
// values and folds the others into "Others", a numeric one into zero; an
// unfiltered or restricting dimension is its bare name), ending in ", ".
QString SelectTerm(const session::FieldDef& field, const session::ValueList& values);

// `RunQuery`. `cmbField[i]` is the value list of aDims(i); `sPageFilter` the
// page condition ("" when none). Sends nothing to the data engine.
CrossTabQuery RunQuery(const session::FieldList& aDims, const std::vector<session::ValueList>& cmbField,
                       const session::FieldList& aVars, const QString& sPageFilter, const QString& sDataFile);

// `RunQuery` on the session's layout and page filter, kept as its query state.
void RunQuery(session::Session& session);

}  // namespace vantrep::analysis
