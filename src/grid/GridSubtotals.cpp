// The grid's subtotal facility: subtotal rows placed above the data they
// total, the grand total at the first data row.
#include <algorithm>
#include <span>
#include <string>

#include "engine/EngineError.h"
#include "engine/Parallel.h"
#include "grid/GridModel.h"
#include "format/DisplayFormat.h"

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

bool sameKey(const GridRow& a, const GridRow& b, int groupCol) {
    for (int c = 0; c <= groupCol; ++c)
        if (!(a.texts.cell(c) == b.texts.cell(c))) return false;
    return true;
}

// Whether a cell of the row has a bold or colour of its own.
bool hasCellFormatting(const GridRow& row) {
    for (const auto& [col, e] : row.extras)
        if (e.bold || e.foreColor || e.backColor) return true;
    return false;
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

void GridModel::subtotal(const SubtotalRequest& request) { subtotal(std::vector<SubtotalRequest>{request}); }

void GridModel::subtotal(const std::vector<SubtotalRequest>& requests) {
    for (const SubtotalRequest& request : requests) {
        if (request.function == subtotalClear) continue;
        if (request.function != subtotalSum && request.function != subtotalCount && request.function != subtotalAverage)
            throw engine::EngineError(engine::errNotSupported, "Grid: subtotal function "
                                      + std::to_string(static_cast<int>(request.function)) + " is not supported.");
        checkCol(request.totalCol);
        if (request.groupCol != -1) checkCol(request.groupCol);
    }
    // Runs of requests for one group column are made together.
    for (size_t first = 0; first < requests.size();) {
        if (requests[first].function == subtotalClear) {
            clearSubtotals();
            ++first;
            continue;
        }
        size_t end = first + 1;
        while (end < requests.size() && requests[end].function != subtotalClear &&
               requests[end].groupCol == requests[first].groupCol)
            ++end;
        insertSubtotalRows(std::span(requests).subspan(first, end - first));
        first = end;
    }
    changed();
}

void GridModel::insertSubtotalRows(std::span<const SubtotalRequest> requests) {
    const int g = requests.front().groupCol;
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

    // The data rows' numbers (per request, one per data row), then each
    // group's totals and their texts, worked out on all cores (each core
    // formats with a locale of its own: cores sharing one slow each other).
    // Totals add up in row order, as one pass would.
    if (groups.empty()) return;
    const size_t count = requests.size();
    std::vector<std::vector<double>> numbers(count, std::vector<double>(dataRows.size()));
    const size_t parts = engine::partsFor(dataRows.size() * count, 4000);
    engine::runParts(parts, [&](size_t part) {
        const auto [begin, end] = engine::partRange(dataRows.size(), parts, part);
        for (size_t i = begin; i < end; ++i) {
            const GridRow& row = rows_[dataRows[i]];
            for (size_t q = 0; q < count; ++q) numbers[q][i] = GridModel::numberFromText(row.texts.cell(requests[q].totalCol));
        }
    });
    const size_t totalCount = groups.size() * count;  // group by group, request by request
    std::vector<QString> totals(totalCount);
    const size_t totalParts = std::min(parts, totalCount);
    engine::runParts(totalParts, [&](size_t part) {
        const QLocale locale;
        const auto [begin, end] = engine::partRange(totalCount, totalParts, part);
        for (size_t i = begin; i < end; ++i) {
            const SubtotalRequest& request = requests[i % count];
            totals[i] = format::Format(totalOf(numbers[i % count], groups[i / count], request.function), request.format,
                                        locale);
        }
    });
    numbers = {};  // freed before the rows grow

    // Totals go into existing subtotal rows in place; new subtotal rows (with
    // the first request's caption) are merged into the rows in one pass, as a
    // grid may get tens of thousands. Each request's bold and colours apply
    // in turn, to the row's format unless a cell of the row has its own.
    auto formatRow = [&](GridRow& row) {
        for (const SubtotalRequest& request : requests) {
            if (!request.bold && request.foreColor < 0 && request.backColor < 0) continue;
            if (!hasCellFormatting(row)) {
                if (request.bold) row.format.bold = true;
                if (request.foreColor >= 0) row.format.foreColor = request.foreColor & 0xFFFFFF;
                if (request.backColor >= 0) row.format.backColor = request.backColor & 0xFFFFFF;
                continue;
            }
            row.extras.reserve(static_cast<size_t>(cols_));
            for (int c = 0; c < cols_; ++c) {
                CellExtra& e = row.extras[c];
                if (request.bold) e.bold = true;
                if (request.foreColor >= 0) e.foreColor = request.foreColor & 0xFFFFFF;
                if (request.backColor >= 0) e.backColor = request.backColor & 0xFFFFFF;
                if (e.empty()) row.extras.erase(c);
            }
        }
    };
    std::vector<std::pair<int, GridRow>> inserts;  // by position, ascending
    std::vector<QStringView> texts(static_cast<size_t>(cols_));
    for (size_t i = 0; i < groups.size(); ++i) {
        const Group& group = groups[i];
        if (group.existingRow >= 0) {
            GridRow& row = rows_[group.existingRow];
            for (size_t q = 0; q < count; ++q) row.texts.set(requests[q].totalCol, totals[i * count + q]);
            formatRow(row);
            continue;
        }
        const QString groupValue =
            g == -1 ? QStringLiteral("Grand Total") : rows_[dataRows[group.firstData]].texts.text(g);
        const QString caption = QString(requests.front().caption).replace(QStringLiteral("%s"), groupValue);
        std::fill(texts.begin(), texts.end(), QStringView());
        texts[static_cast<size_t>(std::max(g, 0))] = caption;
        for (size_t q = 0; q < count; ++q) texts[static_cast<size_t>(requests[q].totalCol)] = totals[i * count + q];
        GridRow row = emptyRow();
        row.subtotal = true;
        row.outlineLevel = g;
        row.texts.assign(texts);
        formatRow(row);
        inserts.emplace_back(group.insertAt, std::move(row));
    }
    // The rows move down in place, from the last, each insert going in as
    // its position is reached: no second list of every row is made. The
    // totals' texts are in their rows by now, and go before the rows grow.
    totals = {};
    if (inserts.empty()) return;
    size_t read = rows_.size();
    rows_.reserve(read + inserts.size());  // exactly: the rows of a large grid take much memory
    rows_.resize(read + inserts.size());
    size_t write = rows_.size();
    for (auto insert = inserts.rbegin(); insert != inserts.rend(); ++insert) {
        while (read > static_cast<size_t>(insert->first)) rows_[--write] = std::move(rows_[--read]);
        rows_[--write] = std::move(insert->second);
    }
}

}  // namespace vantrep::grid
