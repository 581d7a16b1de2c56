// Splitting records into groups by coded keys, and computing aggregates per
// group: the work of GROUP BY and DISTINCT.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/exec/BigVector.h"
#include "engine/exec/BoundExpr.h"
#include "engine/exec/CachedTable.h"
#include "engine/exec/Coding.h"

namespace vantrep::engine::exec {

// Records split into groups by the codes of the group keys.
struct Groups {
    BigVector<uint32_t> groupOf;           // per record position
    std::vector<uint32_t> firstRecord;     // per group
    std::vector<uint32_t> keyCodes;        // per group, keys.size() codes each
    std::vector<uint32_t> inKeyOrder;      // the groups by their keys, when known without sorting
    size_t count() const { return firstRecord.size(); }
};

// The groups of `records` by the codes of `keys`. With a small key space the
// groups come numbered in key order (and `inKeyOrder` says so).
Groups formGroups(const std::vector<CodedValues>& keys, const RecordList& records);

// One aggregate's result for every group. Sums of decoded numbers into an
// N, F or Y type are held as exact units at the type's scale, 16 bytes a
// group; any other aggregate as values.
struct GroupResults {
    bool exact = false;
    int scale = 0;                // exact
    BigVector<Int128> units;      // exact: per group
    BigVector<uint8_t> isNull;    // exact: per group, or empty when no group is NULL
    BigVector<Value> values;      // otherwise: per group

    Value at(size_t group) const;
};

// The scale of an exact decimal of `type`, or -1 when the type is no decimal.
int decimalScaleOf(const ColumnType& type);

// One aggregate over every group, each result conformed to the call's type.
GroupResults aggregateGroups(const AggregateCall& call, CachedTable& table, const RecordList& records,
                                 const Groups& groups);

}  // namespace vantrep::engine::exec
