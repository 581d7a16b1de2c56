// The value of a "fun" item: "concat(...)", "pagecount", "time", "date", or
// the name of a report variable, and the text such a value prints as.
#pragma once

#include <QString>
#include <QTime>

#include <utility>

#include "engine/Value.h"

namespace vantrep::print { class PrintSurface; }

namespace vantrep::report {

class ReportData;
class clsVariables;

// A printed value: an engine value, or the time of day of "time".
struct BandValue {
    static BandValue of(engine::Value value) {
        BandValue result;
        result.value = std::move(value);
        return result;
    }

    engine::Value value;
    bool isTimeOfDay = false;
    QTime timeOfDay;
};

// What a function item can read: all optional.
struct FunctionSources {
    ReportData* data = nullptr;
    const clsVariables* variables = nullptr;
    const print::PrintSurface* surface = nullptr;
};

// Evaluates the text of a "fun" item. A failing part leaves the result as far
// as it got; an unknown name gives an empty text.
BandValue evaluateFunction(const QString& expression, const FunctionSources& sources);

// The text of `value` under display format `pattern` ("" for none). The time
// of day prints as "h:mm:ss AM" under no format.
QString bandValueText(const BandValue& value, const QString& pattern);

}  // namespace vantrep::report
