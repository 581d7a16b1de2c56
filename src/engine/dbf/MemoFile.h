// Read access to the memo file of a table: .fpt (FoxPro) or .dbt (dBASE).
//
// .fpt: a 512-byte header holding the next free block (big-endian uint32 at 0)
//   and the block size (big-endian uint16 at 6). A memo starts at
//   block * block size with type (uint32 BE: 0 picture, 1 text, 2 object) and
//   length (uint32 BE), then its bytes; it may span several blocks.
// .dbt of dBASE III: 512-byte blocks, block 0 the header (next free block,
//   little-endian); a memo is raw text ended by 0x1A.
// .dbt of dBASE IV: block size at byte 20 (LE); a memo block starts with
//   FF FF 08 00 and a little-endian length, the text may end in 0x1F or 0x1A.
// The file is mapped at open; memos written later beyond the mapping (by a
// DbfWriter on the same files) are read from the file directly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/dbf/DbfHeader.h"
#include "engine/dbf/FileAccess.h"

namespace vantrep::engine::dbf {

class MemoFile {
public:
    // Throws EngineError: errFileNotFound, errCorruptTable (block size 0, file
    // too short for its header).
    MemoFile(const std::string& path, MemoKind kind);
    MemoFile(const MemoFile&) = delete;
    MemoFile& operator=(const MemoFile&) = delete;

    const std::string& path() const { return path_; }
    uint32_t blockSize() const { return blockSize_; }

    // The content of the memo starting at `block` (> 0) into `out`. Returns false
    // for a block outside the file or content running past its end, with
    // `fault` saying which.
    bool read(uint64_t block, std::string& out, std::string& fault) const;

private:
    // The bytes [offset, offset + length), or fewer when the file ends before.
    std::string_view window(uint64_t offset, uint64_t length, std::string& buffer) const;
    uint64_t currentSize() const;

    std::string path_;
    MappedFile file_;
    MemoKind kind_;
    uint32_t blockSize_ = 512;
};

}  // namespace vantrep::engine::dbf
