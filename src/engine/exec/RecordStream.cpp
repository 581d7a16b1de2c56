#include "engine/exec/RecordStream.h"

#include <algorithm>

namespace vantrep::engine::exec {

// Large enough that the reads cost little each, small enough to stay in the
// core's cache while the records are decoded.
static constexpr uint32_t bytesPerRead = 256 * 1024;

RecordStream::RecordStream(const dbf::DbfTable& table, uint32_t end)
    : table_(table),
      end_(end),
      length_(table.recordLength()),
      perRead_(std::max<uint32_t>(1, bytesPerRead / std::max<uint32_t>(1, table.recordLength()))),
      buffer_(margin + size_t(perRead_) * length_ + margin, ' ') {}

void RecordStream::fill(uint32_t record) {
    first_ = record;
    last_ = std::min(end_, record + perRead_);
    table_.readRecords(first_, last_ - first_, buffer_.data() + margin);
}

}  // namespace vantrep::engine::exec
