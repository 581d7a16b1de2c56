// A SELECT bound to its table: output columns with names and types, the
// aggregate calls, the condition, the group keys and the sort keys.
#pragma once

#include <string>
#include <vector>

#include "engine/exec/BoundExpr.h"
#include "engine/sql/Ast.h"

namespace vantrep::engine::dbf { class DbfTable; }

namespace vantrep::engine::exec {

struct OutputItem {
    std::string name;
    BoundExprPtr expr;
};

struct SortKey {
    const BoundExpr* expr = nullptr;  // an output item's expression or one in `extraExprs`
    int item = -1;                    // the output item sorted on, or -1
    bool descending = false;
};

struct SelectPlan {
    std::vector<OutputItem> items;
    std::vector<AggregateCall> aggregates;
    BoundExprPtr where;                 // null when absent
    std::vector<const BoundExpr*> groupKeys;
    std::vector<SortKey> order;
    std::vector<BoundExprPtr> extraExprs;  // keys that are not output items
    bool distinct = false;

    bool grouped() const { return !aggregates.empty() || !groupKeys.empty(); }
};

// Binds the statement. Throws EngineError for unknown names, bad positions,
// aggregates in the wrong place.
SelectPlan bindSelect(const sql::SelectStatement& statement, const dbf::DbfTable& table);

}  // namespace vantrep::engine::exec
