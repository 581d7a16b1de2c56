// The parts of a grid model's storage: a row (its texts in one block, the
// rare per-cell extras and the formatting of a whole row), a column's
// settings, and the formatting a cell may carry. Everything but the texts is
// stored only where set, so a large listing costs little more than its texts.
#pragma once

#include <QImage>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "grid/RowTexts.h"

namespace vantrep::grid {

// Column alignment codes, as the model and the grid's save file hold them:
// 0..8 are left/centre/right by top/centre/bottom; 9 (general) puts numbers
// right and texts left.
enum Alignment : int {
    alignLeftTop = 0,
    alignLeftCenter = 1,
    alignLeftBottom = 2,
    alignCenterTop = 3,
    alignCenterCenter = 4,
    alignCenterBottom = 5,
    alignRightTop = 6,
    alignRightCenter = 7,
    alignRightBottom = 8,
    alignGeneral = 9,
};

// A cell's data and picture. Few cells have them (the listing's clip cells),
// so they are held apart, keeping the extras of every other cell small.
struct CellAttachment {
    QVariant data;
    QImage picture;  // implicitly shared: copies are cheap
};

// What a single cell carries beyond its text. Colours are 24-bit values with
// red in the low byte and blue in the high byte; an empty optional means the
// grid's default. Copies are deep.
struct CellExtra {
    std::optional<bool> bold;
    std::optional<int> foreColor;
    std::optional<int> backColor;
    std::optional<int> alignment;  // an alignment code; empty: the column's (headings: centred)
    std::unique_ptr<CellAttachment> attachment;  // null: no data, no picture

    CellExtra() = default;
    CellExtra(const CellExtra& other) { *this = other; }
    CellExtra(CellExtra&&) noexcept = default;
    CellExtra& operator=(const CellExtra& other) {
        if (this == &other) return *this;
        bold = other.bold;
        foreColor = other.foreColor;
        backColor = other.backColor;
        alignment = other.alignment;
        attachment = other.attachment ? std::make_unique<CellAttachment>(*other.attachment) : nullptr;
        return *this;
    }
    CellExtra& operator=(CellExtra&&) noexcept = default;

    QVariant data() const { return attachment ? attachment->data : QVariant(); }
    QImage picture() const { return attachment ? attachment->picture : QImage(); }
    // The attachment, made when the cell has none.
    CellAttachment& attach() {
        if (!attachment) attachment = std::make_unique<CellAttachment>();
        return *attachment;
    }
    bool empty() const {
        const bool attached = attachment && (!attachment->data.isNull() || !attachment->picture.isNull());
        return !attached && !bold && !foreColor && !backColor && !alignment;
    }
};

// A row's cell extras by column, in column order. Kept in one block rather
// than a node per cell; most rows have none, and then the row holds only a
// null pointer.
class CellExtras {
public:
    using Entry = std::pair<int, CellExtra>;

    CellExtras() = default;
    CellExtras(const CellExtras& other)
        : entries_(other.entries_ ? std::make_unique<std::vector<Entry>>(*other.entries_) : nullptr) {}
    CellExtras& operator=(const CellExtras& other) {
        if (this != &other) entries_ = other.entries_ ? std::make_unique<std::vector<Entry>>(*other.entries_) : nullptr;
        return *this;
    }
    CellExtras(CellExtras&&) noexcept = default;
    CellExtras& operator=(CellExtras&&) noexcept = default;

    bool empty() const { return !entries_ || entries_->empty(); }
    std::size_t size() const { return entries_ ? entries_->size() : 0; }
    void reserve(std::size_t n) { list().reserve(n); }
    Entry* begin() { return entries_ ? entries_->data() : nullptr; }
    Entry* end() { return begin() + size(); }
    const Entry* begin() const { return entries_ ? entries_->data() : nullptr; }
    const Entry* end() const { return begin() + size(); }

    // The extras of column `col`, added empty when it has none.
    CellExtra& operator[](int col) {
        std::vector<Entry>& entries = list();
        auto at = lowerBound(entries, col);
        if (at == entries.end() || at->first != col) at = entries.insert(at, Entry(col, CellExtra{}));
        return at->second;
    }
    // The extras of column `col`, or null.
    const CellExtra* find(int col) const {
        const Entry* at = std::lower_bound(begin(), end(), col, [](const Entry& e, int c) { return e.first < c; });
        return at == end() || at->first != col ? nullptr : &at->second;
    }
    void erase(int col) {
        if (!entries_) return;
        auto at = lowerBound(*entries_, col);
        if (at != entries_->end() && at->first == col) entries_->erase(at);
    }
    // Drops the extras of column `col` and of every column after it.
    void eraseFrom(int col) {
        if (entries_) entries_->erase(lowerBound(*entries_, col), entries_->end());
    }

private:
    std::vector<Entry>& list() {
        if (!entries_) entries_ = std::make_unique<std::vector<Entry>>();
        return *entries_;
    }
    static std::vector<Entry>::iterator lowerBound(std::vector<Entry>& entries, int col) {
        return std::lower_bound(entries.begin(), entries.end(), col,
                                [](const Entry& e, int c) { return e.first < c; });
    }

    std::unique_ptr<std::vector<Entry>> entries_;
};

// Formatting that every cell of a row takes, kept once for the row (a
// subtotal row's colours) rather than in each cell's extras.
struct RowFormat {
    std::optional<bool> bold;
    std::optional<int> foreColor;
    std::optional<int> backColor;
    bool empty() const { return !bold && !foreColor && !backColor; }
};

struct GridRow {
    RowTexts texts;    // one per column
    CellExtras extras;  // only cells with extras
    // While a row has a format, none of its cells has a bold or colour of its own.
    RowFormat format;
    std::unique_ptr<QVariant> data;  // null: none
    int outlineLevel = 0;
    bool subtotal = false;
    bool hidden = false;
    bool merge = false;

    // A cell's boldness and colours: its own, else the row's.
    std::optional<bool> boldAt(int col) const {
        const CellExtra* e = extras.find(col);
        return e && e->bold ? e->bold : format.bold;
    }
    std::optional<int> foreColorAt(int col) const {
        const CellExtra* e = extras.find(col);
        return e && e->foreColor ? e->foreColor : format.foreColor;
    }
    std::optional<int> backColorAt(int col) const {
        const CellExtra* e = extras.find(col);
        return e && e->backColor ? e->backColor : format.backColor;
    }
};

struct GridColumn {
    int alignment = alignGeneral;
    int widthTwips = -1;  // -1: the grid's default width
    bool hidden = false;
    bool merge = false;
};

// A rectangle of cells, 0-based, both ends included.
struct CellRange {
    int row1 = 0;
    int col1 = 0;
    int row2 = 0;
    int col2 = 0;
    bool operator==(const CellRange&) const = default;
};

}  // namespace vantrep::grid
