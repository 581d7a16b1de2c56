// The grid's subtotal facility: subtotal rows placed above the data they
// total, the grand total at the first data row.
#include <algorithm>
#include <string>

#include "engine/EngineError.h"
#include "engine/Parallel.h"
#include "grid/GridModel.h"
#include "session/DisplayFormat.h"

namespace vantrep::grid {

namespace {

// One run of data rows sharing the texts of columns 0..group column. The
// rows of every group are kept one after the other in one list.
struct Group {
    size_t firstData = 0;  // the group's rows in that list: [firstData, endData)
    size_t endData = 0;
    int existingRow = -1;  // a subtotal row of the same group column, if any
    int insertAt = 0;      // where a new subtotal row goes
};

// Equal texts; a text sharing the storage of the other is known equal at once.
bool sameText(const QString& a, const QString& b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

bool sameKey(const GridRow& a, const GridRow& b, int groupCol) {
    for (int c = 0; c <= groupCol; ++c)
        if (!sameText(a.texts[c], b.texts[c])) return false;
    return true;
}

// A group's total of `numbers` (one per row of the list of data rows), added
// up in row order.
double totalOf(const std::vector<double>& numbers, const Group& group, SubtotalFunction function) {
    double sum = 0.0;
    for (size_t i = group.firstData; i < group.endData; ++i) sum += numbers[i];
    const double count = static_cast<double>(group.endData - group.firstData);
    switch (function) {
    case subtotalCount: return count;
    case subtotalAverage: return count > 0 ? sum / count : 0.0;
    default: return sum;
    }
}

}  // namespace

void GridModel::clearSubtotals() {
    std::erase_if(rows_, [](const GridRow& row) { return row.subtotal; });
    fixedRows_ = std::min(fixedRows_, rows());
    changed();
}

void GridModel::subtotal(const SubtotalRequest& request) {
    if (request.function == subtotalClear) {
        clearSubtotals();
        return;
    }
    if (request.function != subtotalSum && request.function != subtotalCount && request.function != subtotalAverage)
        throw engine::EngineError(engine::errNotSupported, "Grid: subtotal function "
                                  + std::to_string(static_cast<int>(request.function)) + " is not supported.");
    checkCol(request.totalCol);
    if (request.groupCol != -1) checkCol(request.groupCol);
    insertSubtotalRows(request);
    changed();
}

void GridModel::insertSubtotalRows(const SubtotalRequest& request) {
    const int g = request.groupCol;
    std::vector<Group> groups;
    std::vector<int> dataRows;

    if (g == -1) {
        Group all;
        all.insertAt = fixedRows_;
        for (int r = fixedRows_; r < rows(); ++r) {
            if (!rows_[r].subtotal) dataRows.push_back(r);
            else if (rows_[r].outlineLevel == -1 && all.existingRow < 0) all.existingRow = r;
        }
        all.endData = dataRows.size();
        if (!dataRows.empty()) groups.push_back(all);
    } else {
        bool open = false;
        for (int r = fixedRows_; r < rows(); ++r) {
            const GridRow& row = rows_[r];
            if (row.subtotal) {
                if (row.outlineLevel <= g) open = false;  // an enclosing or same-level subtotal ends a group
                continue;
            }
            if (open && sameKey(rows_[dataRows[groups.back().firstData]], row, g)) {
                dataRows.push_back(r);
                groups.back().endData = dataRows.size();
                continue;
            }
            Group group;
            group.firstData = dataRows.size();
            dataRows.push_back(r);
            group.endData = dataRows.size();
            group.insertAt = r;
            for (int above = r - 1; above >= fixedRows_ && rows_[above].subtotal; --above) {
                const int level = rows_[above].outlineLevel;
                if (level == g) { group.existingRow = above; break; }
                if (level < g) break;
                group.insertAt = above;  // deeper subtotal rows stay below this one
            }
            groups.push_back(group);
            open = true;
        }
    }

    // The data rows' numbers, then each group's total and its text, worked
    // out on all cores (each core formats with a locale of its own: cores
    // sharing one slow each other). Totals add up in row order, as one pass
    // would.
    if (groups.empty()) return;
    std::vector<double> numbers(dataRows.size());
    const size_t parts = engine::partsFor(dataRows.size(), 4000);
    engine::runParts(parts, [&](size_t part) {
        const auto [begin, end] = engine::partRange(dataRows.size(), parts, part);
        for (size_t i = begin; i < end; ++i)
            numbers[i] = GridModel::numberFromText(rows_[dataRows[i]].texts[request.totalCol]);
    });
    std::vector<QString> totals(groups.size());
    engine::runParts(std::min(parts, groups.size()), [&](size_t part) {
        const QLocale locale;
        const auto [begin, end] = engine::partRange(groups.size(), std::min(parts, groups.size()), part);
        for (size_t i = begin; i < end; ++i)
            totals[i] = session::Format(totalOf(numbers, groups[i], request.function), request.format, locale);
    });

    // Totals go into existing subtotal rows in place; new subtotal rows are
    // merged into the rows in one pass, as a grid may get tens of thousands.
    auto writeTotal = [&](GridRow& row, size_t group) {
        row.texts[request.totalCol] = totals[group];
        if (!request.bold && request.foreColor < 0 && request.backColor < 0) return;
        row.extras.reserve(static_cast<size_t>(cols_));
        for (int c = 0; c < cols_; ++c) {
            CellExtra& e = row.extras[c];
            if (request.bold) e.bold = true;
            if (request.foreColor >= 0) e.foreColor = request.foreColor & 0xFFFFFF;
            if (request.backColor >= 0) e.backColor = request.backColor & 0xFFFFFF;
            if (e.empty()) row.extras.erase(c);
        }
    };
    std::vector<std::pair<int, GridRow>> inserts;  // by position, ascending
    for (size_t i = 0; i < groups.size(); ++i) {
        const Group& group = groups[i];
        if (group.existingRow >= 0) {
            writeTotal(rows_[group.existingRow], i);
            continue;
        }
        const QString groupValue = g == -1 ? QStringLiteral("Grand Total") : rows_[dataRows[group.firstData]].texts[g];
        GridRow row = emptyRow();
        row.subtotal = true;
        row.outlineLevel = g;
        row.texts[std::max(g, 0)] = QString(request.caption).replace(QStringLiteral("%s"), groupValue);
        writeTotal(row, i);
        inserts.emplace_back(group.insertAt, std::move(row));
    }
    if (inserts.empty()) return;
    std::vector<GridRow> merged;
    merged.reserve(rows_.size() + inserts.size());
    auto next = inserts.begin();
    for (int r = 0; r < rows(); ++r) {
        for (; next != inserts.end() && next->first == r; ++next) merged.push_back(std::move(next->second));
        merged.push_back(std::move(rows_[r]));
    }
    rows_ = std::move(merged);
}

}  // namespace vantrep::grid
