#include "engine/exec/Functions.h"

#include "engine/exec/BuiltinFunctions.h"

namespace vantrep::engine::exec {

namespace {

using namespace builtin;

// INLIST takes an expression and up to 24 values.
const ScalarFunction functionTable[] = {
    {"IIF", 3, 3, iifType, iif},
    {"INLIST", 2, 25, inListType, inList},
    {"EMPTY", 1, 1, emptyType, empty},
    {"ALLTRIM", 1, 1, sameStringType, allTrim},
    {"LTRIM", 1, 1, sameStringType, leftTrim},
    {"TRIM", 1, 1, sameStringType, rightTrim},
    {"RTRIM", 1, 1, sameStringType, rightTrim},
    {"UPPER", 1, 1, sameStringType, upper},
    {"LOWER", 1, 1, sameStringType, lower},
    {"ROUND", 2, 2, roundType, round},
    {"CTOD", 1, 1, ctodType, ctod},
};

}  // namespace

const ScalarFunction* findScalarFunction(std::string_view name) {
    for (const ScalarFunction& function : functionTable)
        if (function.name == name) return &function;
    return nullptr;
}

}  // namespace vantrep::engine::exec
