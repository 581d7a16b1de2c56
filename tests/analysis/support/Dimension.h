// Dictionary entries for a dimension and a variable, as the structure file would give them.
#pragma once

#include "session/FieldDef.h"

namespace vantrep::analysis {

inline session::FieldDef dimension(const char* name, const char* caption, const char* type, int len, const char* role,
                                   int level, int dec = 0) {
    session::FieldDef f;
    f.FName = name;
    f.FDesc = caption;
    f.FType = type;
    f.FLen = len;
    f.FDec = dec;
    f.Layout = role;
    f.Level = level;
    return f;
}

inline session::FieldDef variable(const char* name, int dec, int level) {
    session::FieldDef v;
    v.FName = name;
    v.FDesc = name;
    v.FDec = dec;
    v.Level = level;
    return v;
}

}  // namespace vantrep::analysis
