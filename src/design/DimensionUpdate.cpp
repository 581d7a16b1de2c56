#include "design/DimensionUpdate.h"

#include "session/FieldLookup.h"

namespace vantrep::design {

bool UpdateDimension(session::FieldList& aDims, int index, const QString& caption, const QString& role, int level,
                     int decimals) {
    if (index == -1) index = caption == notSupplied ? 0 : session::FindFieldByDesc(aDims, caption);
    if (index < 1 || index > aDims.upperBound()) return false;
    session::FieldDef& field = aDims(index);
    bool changed = false;
    if (role != notSupplied) {
        field.Layout = role.toUpper();
        changed = true;
    }
    if (level != -1) {
        field.Level = level;
        changed = true;
    }
    if (decimals != -1) {
        field.FDec = decimals;
        changed = true;
    }
    return changed;
}

}  // namespace vantrep::design
