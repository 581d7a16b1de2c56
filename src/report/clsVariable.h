// One running aggregate of a banded report: "sum", "avg", "count", "min" or
// "max" of a field, restarted when its group (or page) changes. Its key in
// the variables collection ("Var1", "Var2", ...) is what the rewritten band
// prints through a "fun" item.
#pragma once

#include <QString>

#include <cstdint>

#include "engine/Value.h"

namespace vantrep::report {

class clsVariables;

// Start values of "min" and "max" after a reset.
constexpr double minStartValue = 1.79769313486232E+300;
constexpr double maxStartValue = -4.94065645841247E-300;

class clsVariable {
public:
    QString Name;
    QString GroupCriteria;
    QString NextLevelGroupCriteria;
    QString GroupValue;
    clsVariables* Parent = nullptr;

    // "avg": running value / running count (null when nothing was counted);
    // "count": the running count; otherwise the running value (null until a
    // value was added).
    engine::Value Value() const;
    // Writing 0 resets: "min" and "max" go back to their start values, the
    // others to `value`; the running count restarts when `value` is 0.
    void setValue(const engine::Value& value);

    // "sum(amt_usd)" is kept as function "sum" and argument "amt_usd": every
    // ")" removed, cut at the first "(", lower-cased.
    void setCalculation(const QString& calculation);
    QString Calculation() const { return function_ + u' ' + argument_; }
    const QString& function() const { return function_; }
    const QString& argument() const { return argument_; }

    // Adds the current record of the parent's data.
    void Update();

private:
    void accumulate(const engine::Value& field);

    QString function_;
    QString argument_;
    engine::Value running_;
    int64_t count_ = 0;
};

}  // namespace vantrep::report
