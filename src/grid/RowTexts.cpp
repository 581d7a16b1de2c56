#include "grid/RowTexts.h"

#include <algorithm>
#include <vector>
#include <cstring>
#include <functional>
#include <utility>

namespace vantrep::grid {

namespace {

bool fitsOneByte(const CellText& text) {
    if (text.isOneByte()) return true;
    return std::all_of(text.utf16(), text.utf16() + text.size(), [](char16_t c) { return onebyte::toByte(c) >= 0; });
}

// Copies a text that fits the one-byte form to `out` in that form.
void copyOneByte(const CellText& text, char* out) {
    if (text.isOneByte()) {
        std::copy_n(text.bytes(), text.size(), out);
        return;
    }
    std::transform(text.utf16(), text.utf16() + text.size(), out,
                   [](char16_t c) { return static_cast<char>(onebyte::toByte(c)); });
}

const char* bytesOf(const CellText& text) {
    return text.isOneByte() ? text.bytes() : reinterpret_cast<const char*>(text.utf16());
}

}  // namespace

RowTexts::RowTexts(const RowTexts& other)
    : block_(makeBlock(other.count_, other.length(), [&](int c) { return other.cell(c); }, false)),
      count_(other.count_) {}

RowTexts& RowTexts::operator=(const RowTexts& other) {
    if (this != &other) {
        RowTexts copy(other);
        *this = std::move(copy);
    }
    return *this;
}

RowTexts& RowTexts::operator=(RowTexts&& other) noexcept {
    if (this != &other) {
        delete[] block_;
        block_ = std::exchange(other.block_, nullptr);
        count_ = std::exchange(other.count_, 0);
    }
    return *this;
}

RowTexts::~RowTexts() { delete[] block_; }

CellText RowTexts::cell(int col) const {
    if (!block_) return CellText();
    const uint32_t first = begin(col);
    const auto size = static_cast<qsizetype>(end(col) - first);
    if (wide()) return CellText(QStringView(wideChars() + first, size));
    return CellText::oneByte(narrowChars() + first, size);
}

QStringView RowTexts::operator[](int col) const {
    if (isOneByte()) {
        uint32_t* widened = makeBlock(count_, length(), [this](int c) { return cell(c); }, true);
        delete[] block_;
        block_ = widened;
    }
    if (!block_) return QStringView();
    const uint32_t first = begin(col);
    return QStringView(wideChars() + first, static_cast<qsizetype>(end(col) - first));
}

template <typename CellAt>
uint32_t* RowTexts::makeBlock(int count, uint32_t room, CellAt cellAt, bool wide) {
    if (room == 0) return nullptr;
    for (int c = 0; c < count && !wide; ++c) wide = !fitsOneByte(cellAt(c));
    const size_t charWords = wide ? (room + 1) / 2 : (room + 3) / 4;
    uint32_t* fresh = new uint32_t[1 + static_cast<size_t>(count) + charWords];
    fresh[0] = room | (wide ? wideBit : 0);
    char* narrowOut = reinterpret_cast<char*>(fresh + 1 + count);
    char16_t* wideOut = reinterpret_cast<char16_t*>(fresh + 1 + count);
    uint32_t at = 0;
    for (int c = 0; c < count; ++c) {
        const CellText text = cellAt(c);
        if (wide)
            text.copyTo(wideOut + at);
        else
            copyOneByte(text, narrowOut + at);
        at += static_cast<uint32_t>(text.size());
        fresh[1 + c] = at;
    }
    return fresh;
}

void RowTexts::replace(uint32_t* block, int count) {
    delete[] block_;
    block_ = block;
    count_ = count;
}

bool RowTexts::holds(CellText text) const {
    if (!block_ || text.isEmpty()) return false;
    const char* start = reinterpret_cast<const char*>(block_);
    const std::less<const char*> before;
    return !before(bytesOf(text), start) && before(bytesOf(text), start + blockBytes());
}

void RowTexts::set(int col, CellText text) {
    const uint32_t first = begin(col);
    const uint32_t last = end(col);
    const uint32_t total = length();
    const auto size = static_cast<uint32_t>(text.size());
    const uint32_t needed = total - (last - first) + size;
    if (!block_ && size == 0) return;  // the cell is empty already
    const bool formHolds = wide() || fitsOneByte(text);
    if (needed <= capacity() && formHolds && !holds(text)) {
        if (wide()) {
            char16_t* cells = wideChars();
            std::memmove(cells + first + size, cells + last, (total - last) * sizeof(char16_t));
            text.copyTo(cells + first);
        } else {
            char* cells = narrowChars();
            std::memmove(cells + first + size, cells + last, total - last);
            copyOneByte(text, cells + first);
        }
        for (int c = col; c < count_; ++c) block_[1 + c] = block_[1 + c] - last + first + size;
        return;
    }
    // Room to spare: a row is often filled a cell at a time.
    replace(makeBlock(count_, needed + needed / 2, [&](int c) { return c == col ? text : cell(c); }, false), count_);
}

template <typename Texts>
void RowTexts::assignCells(const Texts& texts) {
    const size_t given = std::min(texts.size(), static_cast<size_t>(count_));
    uint32_t room = 0;
    for (size_t c = 0; c < given; ++c) room += static_cast<uint32_t>(texts[c].size());
    replace(makeBlock(count_, room,
                      [&](int c) { return static_cast<size_t>(c) < given ? CellText(texts[c]) : CellText(); }, false),
            count_);
}

void RowTexts::assign(std::span<const QStringView> texts) { assignCells(texts); }

void RowTexts::assign(std::span<const CellText> texts) { assignCells(texts); }

void RowTexts::resize(int count) {
    if (count == count_) return;
    const uint32_t room = count < count_ ? (count > 0 ? end(count - 1) : 0) : length();
    replace(makeBlock(count, room, [&](int c) { return c < count_ ? cell(c) : CellText(); }, false), count);
}

void RowTexts::move(int from, int to) {
    if (from == to || !block_) return;
    replace(makeBlock(count_, length(),
                      [&](int c) {
                          if (c == to) return cell(from);
                          if (from < to && c >= from && c < to) return cell(c + 1);
                          if (from > to && c > to && c <= from) return cell(c - 1);
                          return cell(c);
                      },
                      false),
            count_);
}

std::size_t RowTexts::blockBytes() const {
    if (!block_) return 0;
    const size_t charWords = wide() ? (capacity() + 1) / 2 : (capacity() + 3) / 4;
    return (1 + static_cast<std::size_t>(count_) + charWords) * sizeof(uint32_t);
}

}  // namespace vantrep::grid
