// Writing memos: creating an empty .fpt or dBASE III .dbt, and appending a memo
// at the file's next free block. A memo's blocks and the memo file's header are
// written before the caller stores the block number in a record; old blocks are
// never reused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/dbf/DbfHeader.h"

namespace vantrep::engine::dbf {

constexpr uint32_t defaultFptBlockSize = 64;

class MemoWriter {
public:
    // Writes a new memo file with no memos (replacing one at `path`).
    static void create(const std::string& path, MemoKind kind);

    // Opens the memo file for appending. Throws EngineError (errReadOnly,
    // errNotSupported for dBASE IV memo files, errCorruptTable).
    MemoWriter(const std::string& path, MemoKind kind);
    ~MemoWriter();
    MemoWriter(const MemoWriter&) = delete;
    MemoWriter& operator=(const MemoWriter&) = delete;

    // Stores `bytes` as a new text memo and returns its block number.
    uint32_t append(std::string_view bytes);

private:
    std::string path_;
    int fd_ = -1;
    MemoKind kind_;
};

}  // namespace vantrep::engine::dbf
