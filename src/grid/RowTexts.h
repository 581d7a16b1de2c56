// The cell texts of one grid row, kept in one block of memory: where each
// cell's text ends, then the characters of all the cells one after another.
// The characters take one byte each when every character of the row has a
// byte in the one-byte form of CellText, as the texts of listings and
// summaries do, else two (UTF-16). A large listing has millions of cells; a string object per cell
// costs several times the characters it holds, a block a few bytes more.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

#include "grid/CellText.h"

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
    // The text of cell `col` (0 <= col < size()) in the form the row keeps,
    // valid until the row changes. Rows of different threads may be read at once.
    CellText cell(int col) const;
    // The text of cell `col` as UTF-16, valid until the row changes. A row
    // kept one byte per character is widened to UTF-16 for it (and then takes twice the
    // room), which ends the views cell() gave of the row and must not happen
    // on one row from two threads at once: code that reads takes cell().
    QStringView operator[](int col) const;
    QString text(int col) const { return cell(col).toString(); }
    // Whether the row keeps its characters one byte each.
    bool isOneByte() const { return block_ && !wide(); }

    // Sets one cell; `text` may be a view of a cell of this row.
    void set(int col, QStringView text) { set(col, CellText(text)); }
    void set(int col, CellText text);
    // Sets every cell: texts[c] for the first texts.size() cells (at most
    // size()), the others empty. The block is made to fit exactly.
    void assign(std::span<const QStringView> texts);
    // The same from texts in either form; they may be views of this row's
    // cells, which are then copied without being widened.
    void assign(std::span<const CellText> texts);
    // Grows with empty cells, or drops the last cells.
    void resize(int count);
    // Moves cell `from` so that it ends at index `to`, as std::rotate would.
    void move(int from, int to);
    // The bytes the row's block takes (0 when every cell is empty and no
    // block was made).
    std::size_t blockBytes() const;

private:
    // block_[0] is the room for characters, with wideBit set when they are
    // UTF-16; block_[1 + c] is where cell c's characters end; the characters
    // follow the ends.
    static constexpr uint32_t wideBit = 0x80000000u;
    bool wide() const { return block_ && (block_[0] & wideBit); }
    uint32_t capacity() const { return block_ ? block_[0] & ~wideBit : 0; }
    uint32_t end(int col) const { return block_ ? block_[1 + col] : 0; }
    uint32_t begin(int col) const { return col > 0 ? end(col - 1) : 0; }
    uint32_t length() const { return count_ > 0 ? end(count_ - 1) : 0; }
    char* narrowChars() const { return reinterpret_cast<char*>(block_ + 1 + count_); }
    char16_t* wideChars() const { return reinterpret_cast<char16_t*>(block_ + 1 + count_); }
    // Whether `text` lies in this row's block.
    bool holds(CellText text) const;
    // A new block of `count` cells holding `cellAt(c)` and room for `room`
    // characters, UTF-16 when `wide` or when a text needs it; null when
    // there is no room to make. The texts may be views of the current block.
    template <typename CellAt>
    static uint32_t* makeBlock(int count, uint32_t room, CellAt cellAt, bool wide);
    // assign, from a span of QStringView or of CellText.
    template <typename Texts>
    void assignCells(const Texts& texts);
    // Takes `block` (from makeBlock) for `count` cells, dropping the old one.
    void replace(uint32_t* block, int count);

    // Mutable: reading a one-byte row as UTF-16 widens its block.
    mutable uint32_t* block_ = nullptr;
    int count_ = 0;
};

}  // namespace vantrep::grid
