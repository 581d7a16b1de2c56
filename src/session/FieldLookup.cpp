#include "session/FieldLookup.h"

namespace vantrep::session {

int FindFieldByDesc(const FieldList& aDims, const QString& caption) {
    for (int k = 1; k <= aDims.upperBound(); ++k) {
        if (aDims(k).FDesc.compare(caption, Qt::CaseInsensitive) == 0) return k;
    }
    return 0;
}

int FindFieldByName(const FieldList& aDims, const QString& name) {
    const QString upper = name.toUpper();
    for (int k = 1; k <= aDims.upperBound(); ++k) {
        if (aDims(k).FName.compare(upper, Qt::CaseInsensitive) == 0) return k;
    }
    return 0;
}

}  // namespace vantrep::session
