#include "engine/dbf/MemoWriter.h"

#include <vector>

#include "engine/EngineError.h"
#include "engine/dbf/FileAccess.h"

namespace vantrep::engine::dbf {

namespace {

constexpr uint32_t memoHeaderLength = 512;
constexpr uint32_t dbtBlockSize = 512;
constexpr uint32_t textMemoType = 1;
constexpr uint8_t memoEnd = 0x1A;

uint64_t blocksFor(uint64_t bytes, uint64_t blockSize) { return (bytes + blockSize - 1) / blockSize; }

}  // namespace

void MemoWriter::create(const std::string& path, MemoKind kind) {
    std::vector<uint8_t> header(memoHeaderLength, 0);
    if (kind == MemoKind::Fpt) {
        writeBe32(header.data(), static_cast<uint32_t>(blocksFor(memoHeaderLength, defaultFptBlockSize)));
        writeBe16(header.data() + 6, static_cast<uint16_t>(defaultFptBlockSize));
    } else {
        writeLe32(header.data(), 1);
    }
    replaceFile(path, header);
}

MemoWriter::MemoWriter(const std::string& path, MemoKind kind) : path_(path), kind_(kind) {
    if (kind_ == MemoKind::Dbt4)
        throw EngineError(errNotSupported, "Memos cannot be written into the dBASE IV memo file \"" + path + "\".");
    fd_ = openForWriting(path);
}

MemoWriter::~MemoWriter() { closeFile(fd_); }

uint32_t MemoWriter::append(std::string_view bytes) {
    // The header is read for every memo, so that memos appended by another
    // writer are never overwritten.
    uint8_t header[8];
    uint64_t size = fileSize(fd_, path_);
    if (size < sizeof header)
        throw EngineError(errCorruptTable, "Memo file \"" + path_ + "\" is damaged: it is too short for its header.");
    readAt(fd_, header, sizeof header, 0, path_);
    bool fpt = kind_ == MemoKind::Fpt;
    uint64_t blockSize = fpt ? readBe16(header + 6) : dbtBlockSize;
    if (blockSize == 0)
        throw EngineError(errCorruptTable, "Memo file \"" + path_ + "\" is damaged: its block size is 0.");
    uint64_t next = fpt ? readBe32(header) : readLe32(header);
    uint64_t firstUsable = blocksFor(memoHeaderLength, blockSize);
    if (next < firstUsable) next = firstUsable;
    if (next < blocksFor(size, blockSize)) next = blocksFor(size, blockSize);

    std::vector<uint8_t> block;
    if (fpt) {
        block.resize(8);
        writeBe32(block.data(), textMemoType);
        writeBe32(block.data() + 4, static_cast<uint32_t>(bytes.size()));
        block.insert(block.end(), bytes.begin(), bytes.end());
    } else {
        if (bytes.find(static_cast<char>(memoEnd)) != std::string_view::npos)
            throw EngineError(errDataTypeMismatch, "A memo for \"" + path_ + "\" holds the byte 0x1A, which ends a dBASE III memo.");
        block.assign(bytes.begin(), bytes.end());
        block.push_back(memoEnd);
        block.push_back(memoEnd);
    }
    uint64_t blocks = blocksFor(block.size(), blockSize);
    if (next + blocks > UINT32_MAX)
        throw EngineError(errFieldTooWide, "Memo file \"" + path_ + "\" cannot grow beyond 4294967295 blocks.");
    block.resize(blocks * blockSize, 0);
    writeAt(fd_, block.data(), block.size(), next * blockSize, path_);
    uint8_t nextFree[4];
    if (fpt) writeBe32(nextFree, static_cast<uint32_t>(next + blocks));
    else writeLe32(nextFree, static_cast<uint32_t>(next + blocks));
    writeAt(fd_, nextFree, sizeof nextFree, 0, path_);
    return static_cast<uint32_t>(next);
}

}  // namespace vantrep::engine::dbf
