// Look-ups in the field dictionary: the index of a field by its caption or by
// its name, as the windows and the query builder need them.
#pragma once

#include <QString>

#include "session/FieldDef.h"

namespace vantrep::session {

// The 1-based index of the first field of `aDims` whose FDesc equals
// `caption` without regard to case; 0 when there is none.
int FindFieldByDesc(const FieldList& aDims, const QString& caption);

// The 1-based index of the first field of `aDims` whose FName equals `name`
// without regard to case; 0 when there is none. The name is upper-cased
// before it is compared; the caller's text is left as it is.
int FindFieldByName(const FieldList& aDims, const QString& name);

}  // namespace vantrep::session
