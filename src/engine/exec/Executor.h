// Running parsed statements against a table of the connection's cache.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/exec/CachedTable.h"
#include "engine/exec/QueryResult.h"
#include "engine/sql/Ast.h"

namespace vantrep::engine::exec {

// Runs a SELECT on `table`. Throws EngineError for unknown names, type faults
// and statement shapes the engine does not run.
std::shared_ptr<QueryResult> runSelect(const sql::SelectStatement& statement, std::shared_ptr<CachedTable> table);

// Runs an UPDATE on the table file at `path` (open in `table`) and returns the
// number of records changed. The caller drops its cache of the table afterwards.
int64_t runUpdate(const sql::UpdateStatement& statement, CachedTable& table, const std::string& path);

}  // namespace vantrep::engine::exec
