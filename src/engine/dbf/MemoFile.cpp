#include "engine/dbf/MemoFile.h"

#include "engine/EngineError.h"

namespace vantrep::engine::dbf {

namespace {

constexpr uint64_t fptHeaderLength = 512;
constexpr uint64_t blockHeaderLength = 8;
constexpr uint32_t dbtBlockSize = 512;
constexpr char memoEnd = 0x1A;
constexpr char dbase4FieldEnd = 0x1F;

[[noreturn]] void corruptMemo(const std::string& path, const std::string& fault) {
    throw EngineError(errCorruptTable, "Memo file \"" + path + "\" is damaged: " + fault + ".");
}

}  // namespace

MemoFile::MemoFile(const std::string& path, MemoKind kind) : path_(path), file_(path), kind_(kind) {
    const uint8_t* data = file_.data();
    if (kind_ == MemoKind::Fpt) {
        if (file_.size() < blockHeaderLength)
            corruptMemo(path_, "it has " + std::to_string(file_.size()) + " bytes, fewer than its header");
        blockSize_ = readBe16(data + 6);
        if (blockSize_ == 0) corruptMemo(path_, "its block size is 0");
    } else if (kind_ == MemoKind::Dbt4) {
        blockSize_ = file_.size() >= 22 ? readLe16(data + 20) : 0;
        if (blockSize_ == 0) blockSize_ = dbtBlockSize;
    } else {
        blockSize_ = dbtBlockSize;
    }
}

uint64_t MemoFile::currentSize() const { return fileSize(file_.descriptor(), path_); }

std::string_view MemoFile::window(uint64_t offset, uint64_t length, std::string& buffer) const {
    uint64_t mapped = file_.size();
    auto mappedView = [&](uint64_t end) {
        if (offset >= end) return std::string_view();
        return std::string_view(reinterpret_cast<const char*>(file_.data()) + offset, size_t(end - offset));
    };
    if (offset <= mapped && length <= mapped - offset) return mappedView(offset + length);
    uint64_t size = currentSize();
    if (size <= mapped) return mappedView(mapped);
    uint64_t end = offset + length < offset || offset + length > size ? size : offset + length;
    if (offset >= end) return std::string_view();
    buffer.resize(size_t(end - offset));
    readAt(file_.descriptor(), buffer.data(), buffer.size(), offset, path_);
    return buffer;
}

bool MemoFile::read(uint64_t block, std::string& out, std::string& fault) const {
    uint64_t start = block * blockSize_;
    std::string buffer;
    std::string blockText = "block " + std::to_string(block);
    if (kind_ == MemoKind::Fpt && start < fptHeaderLength) {
        fault = blockText + " lies inside the memo file's header";
        return false;
    }
    if (kind_ == MemoKind::Dbt3) {
        std::string_view rest = window(start, UINT64_MAX - start, buffer);
        if (rest.empty()) {
            fault = blockText + " is beyond the end of the memo file";
            return false;
        }
        size_t end = rest.find(memoEnd);
        out.assign(rest.substr(0, end));
        return true;
    }
    std::string_view head = window(start, blockHeaderLength, buffer);
    if (head.size() < blockHeaderLength) {
        fault = blockText + " is beyond the end of the memo file";
        return false;
    }
    const auto* h = reinterpret_cast<const uint8_t*>(head.data());
    if (kind_ == MemoKind::Dbt4) {
        bool marked = h[0] == 0xFF && h[1] == 0xFF && h[2] == 0x08 && h[3] == 0x00;
        uint64_t length = marked ? readLe32(h + 4) : UINT64_MAX - start;
        std::string_view text = window(marked ? start + blockHeaderLength : start, length, buffer);
        const char ends[] = {memoEnd, dbase4FieldEnd};
        size_t end = text.find_first_of(std::string_view(ends, 2));
        out.assign(text.substr(0, end));
        return true;
    }
    uint64_t length = readBe32(h + 4);
    std::string_view text = window(start + blockHeaderLength, length, buffer);
    if (text.size() < length) {
        fault = "the memo at " + blockText + " is " + std::to_string(length) + " bytes long and runs past the end of the memo file";
        return false;
    }
    out.assign(text);
    return true;
}

}  // namespace vantrep::engine::dbf
