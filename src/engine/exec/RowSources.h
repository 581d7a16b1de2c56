// What an expression reads while the executor evaluates it: one record of the
// table, one distinct value of a coded field, or one group of a grouped query.
#pragma once

#include <vector>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"
#include "engine/exec/BoundExpr.h"

namespace vantrep::engine::exec {

class RecordRow : public RowValues {
public:
    RecordRow(const dbf::DbfTable& table, uint32_t record) : table_(table), record_(record) {}
    void moveTo(uint32_t record) { record_ = record; }
    Value field(int index) const override { return table_.value(record_, index); }
    Value aggregate(int) const override {
        throw EngineError(errNotSupported, "An aggregate function is not allowed here.");
    }

private:
    const dbf::DbfTable& table_;
    uint32_t record_;
};

// The expression reads a single field; this supplies one of its distinct values.
class DistinctValueRow : public RowValues {
public:
    explicit DistinctValueRow(const Value* value) : value_(value) {}
    void moveTo(const Value* value) { value_ = value; }
    Value field(int) const override { return *value_; }
    Value aggregate(int) const override {
        throw EngineError(errNotSupported, "An aggregate function is not allowed here.");
    }

private:
    const Value* value_;
};

// One group: fields read from its first record, aggregates from its results.
class GroupRow : public RowValues {
public:
    GroupRow(const dbf::DbfTable& table, uint32_t record, const std::vector<Value>& aggregates)
        : table_(table), record_(record), aggregates_(aggregates) {}
    Value field(int index) const override { return table_.value(record_, index); }
    Value aggregate(int index) const override { return aggregates_[static_cast<size_t>(index)]; }

private:
    const dbf::DbfTable& table_;
    uint32_t record_;
    const std::vector<Value>& aggregates_;
};

}  // namespace vantrep::engine::exec
