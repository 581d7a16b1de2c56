// The cell texts of one grid row, kept in one block of memory: where each
// cell's text ends, then the UTF-16 characters of all the cells one after
// another. A large listing has millions of cells; a string object per cell
// costs several times the characters it holds, a block a few bytes more.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

namespace vantrep::grid {

class RowTexts {
public:
    RowTexts() = default;
    // `count` empty cells.
    explicit RowTexts(int count) : count_(count) {}
    RowTexts(const RowTexts& other);
    RowTexts& operator=(const RowTexts& other);
    RowTexts(RowTexts&& other) noexcept : block_(other.block_), count_(other.count_) {
        other.block_ = nullptr;
        other.count_ = 0;
    }
    RowTexts& operator=(RowTexts&& other) noexcept;
    ~RowTexts();

    int size() const { return count_; }
    // The text of cell `col` (0 <= col < size()), valid until the row changes.
    QStringView operator[](int col) const;
    QString text(int col) const { return (*this)[col].toString(); }

    // Sets one cell; `text` may be a view of a cell of this row.
    void set(int col, QStringView text);
    // Sets every cell: texts[c] for the first texts.size() cells (at most
    // size()), the others empty. The block is made to fit exactly.
    void assign(std::span<const QStringView> texts);
    // Grows with empty cells, or drops the last cells.
    void resize(int count);
    // Moves cell `from` so that it ends at index `to`, as std::rotate would.
    void move(int from, int to);
    // The bytes the row's block takes (0 when every cell is empty and no
    // block was made).
    std::size_t blockBytes() const;

private:
    // block_[0] is the room for characters, block_[1 + c] where cell c's
    // characters end; the characters follow the ends.
    uint32_t capacity() const { return block_ ? block_[0] : 0; }
    uint32_t end(int col) const { return block_ ? block_[1 + col] : 0; }
    uint32_t begin(int col) const { return col > 0 ? end(col - 1) : 0; }
    uint32_t length() const { return count_ > 0 ? end(count_ - 1) : 0; }
    char16_t* chars() const { return reinterpret_cast<char16_t*>(block_ + 1 + count_); }
    // Makes a new block of `count` cells holding text(c) of `cellAt(c)` and
    // room for `capacity` characters, then drops the old one.
    template <typename CellAt>
    void rebuild(int count, uint32_t capacity, CellAt cellAt);

    uint32_t* block_ = nullptr;
    int count_ = 0;
};

}  // namespace vantrep::grid
