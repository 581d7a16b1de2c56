// Ordering record positions by coded keys: the sort of listings and of
// grouped results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/exec/Coding.h"

namespace vantrep::engine::exec {

// Bits needed to hold the codes 0 .. cardinality - 1.
int bitsFor(size_t cardinality);

// Positions 0 .. count - 1 ordered by several code columns (each a rank per
// position), ties kept in position order. `records` gives the record of each
// position, for keys coded by record (null when every key is coded by position).
std::vector<uint32_t> sortPositions(const std::vector<CodedValues>& keys, const std::vector<bool>& descending,
                                    size_t count, const RecordList* records);

}  // namespace vantrep::engine::exec
