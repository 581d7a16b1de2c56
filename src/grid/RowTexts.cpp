#include "grid/RowTexts.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vantrep::grid {

RowTexts::RowTexts(const RowTexts& other) : count_(other.count_) {
    rebuild(other.count_, other.length(), [&](int c) { return other[c]; });
}

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

QStringView RowTexts::operator[](int col) const {
    if (!block_) return QStringView();
    const uint32_t first = begin(col);
    return QStringView(chars() + first, static_cast<qsizetype>(end(col) - first));
}

template <typename CellAt>
void RowTexts::rebuild(int count, uint32_t room, CellAt cellAt) {
    uint32_t* fresh = nullptr;
    if (room > 0) {
        // The new block is filled before the old one goes: the texts may be
        // views of the old block.
        fresh = new uint32_t[1 + static_cast<size_t>(count) + (room + 1) / 2];
        fresh[0] = room;
        char16_t* out = reinterpret_cast<char16_t*>(fresh + 1 + count);
        uint32_t at = 0;
        for (int c = 0; c < count; ++c) {
            const QStringView text = cellAt(c);
            std::copy_n(text.utf16(), text.size(), out + at);
            at += static_cast<uint32_t>(text.size());
            fresh[1 + c] = at;
        }
    }
    delete[] block_;
    block_ = fresh;
    count_ = count;
}

void RowTexts::set(int col, QStringView text) {
    const uint32_t first = begin(col);
    const uint32_t last = end(col);
    const uint32_t total = length();
    const auto size = static_cast<uint32_t>(text.size());
    const uint32_t needed = total - (last - first) + size;
    const char16_t* source = text.utf16();
    if (!block_ && size == 0) return;  // the cell is empty already
    const bool ownText = block_ && source >= chars() && source < chars() + capacity();
    if (needed <= capacity() && !ownText) {
        char16_t* cells = chars();
        std::memmove(cells + first + size, cells + last, (total - last) * sizeof(char16_t));
        std::copy_n(source, size, cells + first);
        for (int c = col; c < count_; ++c) block_[1 + c] = block_[1 + c] - last + first + size;
        return;
    }
    // Room to spare: a row is often filled a cell at a time.
    rebuild(count_, needed + needed / 2, [&](int c) { return c == col ? text : (*this)[c]; });
}

void RowTexts::assign(std::span<const QStringView> texts) {
    const size_t given = std::min(texts.size(), static_cast<size_t>(count_));
    uint32_t room = 0;
    for (size_t c = 0; c < given; ++c) room += static_cast<uint32_t>(texts[c].size());
    rebuild(count_, room, [&](int c) { return static_cast<size_t>(c) < given ? texts[c] : QStringView(); });
}

void RowTexts::resize(int count) {
    if (count == count_) return;
    const uint32_t room = count < count_ ? (count > 0 ? end(count - 1) : 0) : length();
    rebuild(count, room, [&](int c) { return c < count_ ? (*this)[c] : QStringView(); });
}

void RowTexts::move(int from, int to) {
    if (from == to || !block_) return;
    rebuild(count_, length(), [&](int c) {
        if (c == to) return (*this)[from];
        if (from < to && c >= from && c < to) return (*this)[c + 1];
        if (from > to && c > to && c <= from) return (*this)[c - 1];
        return (*this)[c];
    });
}

std::size_t RowTexts::blockBytes() const {
    return block_ ? (1 + static_cast<std::size_t>(count_) + (capacity() + 1) / 2) * sizeof(uint32_t) : 0;
}

}  // namespace vantrep::grid
