// The grid's row and column operations: insertion, removal, moves, clearing,
// sorting, clip text and auto-size.
#include <algorithm>
#include <string>

#include "engine/EngineError.h"
#include "engine/Parallel.h"
#include "grid/GridModel.h"
#include "grid/WidestText.h"

namespace vantrep::grid {

namespace {

// Moves element `from` of a vector so that it ends at index `to`.
template <typename T>
void moveElement(std::vector<T>& items, int from, int to) {
    if (from < to)
        std::rotate(items.begin() + from, items.begin() + from + 1, items.begin() + to + 1);
    else if (from > to)
        std::rotate(items.begin() + to, items.begin() + from, items.begin() + from + 1);
}

// The new index of `index` once the element at `from` has moved to `to`.
int movedIndex(int index, int from, int to) {
    if (index == from) return to;
    if (from < to && index > from && index <= to) return index - 1;
    if (from > to && index >= to && index < from) return index + 1;
    return index;
}

// -1, 0 or 1: how two cell texts order. Numbers come before other texts and
// compare by value; other texts compare case-insensitively.
int compareTexts(CellText a, CellText b) {
    const bool aNumber = GridModel::isNumericText(a);
    const bool bNumber = GridModel::isNumericText(b);
    if (aNumber != bNumber) return aNumber ? -1 : 1;
    if (aNumber) {
        const double x = GridModel::numberFromText(a);
        const double y = GridModel::numberFromText(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const int order = a.toString().compare(b.toString(), Qt::CaseInsensitive);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

void GridModel::addItem(const QString& tabbedText, int position) {
    if (position < -1 || position > rows())
        throw engine::EngineError(engine::errNotSupported,
                                  "Grid: cannot insert a row at position " + std::to_string(position) + ".");
    GridRow row = emptyRow();
    const QStringList parts = tabbedText.split(QLatin1Char('\t'));
    for (int c = 0; c < cols_ && c < parts.size(); ++c) row.texts.set(c, parts[c]);
    if (position == -1)
        rows_.push_back(std::move(row));
    else
        rows_.insert(rows_.begin() + position, std::move(row));
    changed();
}

void GridModel::removeItem(int row) {
    checkRow(row);
    rows_.erase(rows_.begin() + row);
    fixedRows_ = std::min(fixedRows_, rows());
    changed();
}

void GridModel::colPosition(int col, int position) {
    checkCol(col);
    checkCol(position);
    moveElement(columns_, col, position);
    for (GridRow& row : rows_) {
        row.texts.move(col, position);
        CellExtras moved;
        moved.reserve(row.extras.size());
        for (auto& [c, e] : row.extras) moved[movedIndex(c, col, position)] = std::move(e);
        row.extras = std::move(moved);
    }
    changed();
}

void GridModel::rowPosition(int row, int position) {
    checkRow(row);
    checkRow(position);
    moveElement(rows_, row, position);
    changed();
}

void GridModel::clear() {
    for (GridRow& row : rows_) {
        const bool hidden = row.hidden;
        const bool merge = row.merge;
        row = emptyRow();
        row.hidden = hidden;
        row.merge = merge;
    }
    changed();
}

void GridModel::sort(int col, bool ascending) {
    checkCol(col);
    const auto before = [col, ascending](const GridRow& a, const GridRow& b) {
        const int order = compareTexts(a.texts.cell(col), b.texts.cell(col));
        return ascending ? order < 0 : order > 0;
    };
    // A subtotal row stands above the rows it totals, so each run of data
    // rows between subtotal rows is one innermost group: sorted on its own,
    // every subtotal row stays at its group.
    auto first = rows_.begin() + fixedRows_;
    while (first != rows_.end()) {
        first = std::find_if(first, rows_.end(), [](const GridRow& row) { return !row.subtotal; });
        const auto end = std::find_if(first, rows_.end(), [](const GridRow& row) { return row.subtotal; });
        std::stable_sort(first, end, before);
        first = end;
    }
    changed();
}

QString GridModel::clipText(const CellRange& range) const {
    checkCell(range.row1, range.col1);
    checkCell(range.row2, range.col2);
    QStringList lines;
    for (int r = std::min(range.row1, range.row2); r <= std::max(range.row1, range.row2); ++r) {
        QStringList cells;
        for (int c = std::min(range.col1, range.col2); c <= std::max(range.col1, range.col2); ++c)
            cells << rows_[r].texts.text(c);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\r'));
}

void GridModel::autoSize(int col1, int col2, TextMeasure& measure, int paddingTwips) {
    checkCol(col1);
    checkCol(col2);
    // The columns' texts are collected on all cores, each core taking some
    // of the columns through every row; the measuring is done here.
    const int first = std::min(col1, col2);
    const int last = std::max(col1, col2);
    const size_t count = static_cast<size_t>(last - first + 1);
    std::vector<WidestText> widest;
    widest.reserve(count);
    for (int c = first; c <= last; ++c) widest.emplace_back(measure);
    const size_t parts = std::min(count, engine::partsFor(rows_.size() * count, 200000));
    engine::runParts(parts, [&](size_t part) {
        for (const GridRow& row : rows_) {
            if (row.hidden) continue;
            for (size_t k = part; k < count; k += parts) {
                const int c = first + static_cast<int>(k);
                const CellText text = row.texts.cell(c);
                if (text.isEmpty()) continue;
                widest[k].add(text, row.boldAt(c).value_or(false));
            }
        }
    });
    for (int c = first; c <= last; ++c) columns_[c].widthTwips = widest[c - first].widest() + paddingTwips;
    changed();
}

}  // namespace vantrep::grid
