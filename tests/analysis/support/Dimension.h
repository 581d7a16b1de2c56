// A dictionary entry for a dimension, as the structure file would give it.
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

}  // namespace vantrep::analysis
