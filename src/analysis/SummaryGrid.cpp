#include "analysis/SummaryGrid.h"

#include "analysis/Pivot.h"
#include "engine/EngineError.h"
#include "engine/Parallel.h"
#include "grid/GridFile.h"
#include "format/DisplayFormat.h"
#include "session/FieldLookup.h"
#include "session/ValueCoding.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace vantrep::analysis {

namespace {

using engine::Value;
using session::FieldDef;

constexpr int grandTotalColor = 204;  // red 204, green 0, blue 0
const QString percentPattern = QStringLiteral("###.00");

// One value column of the grid, with the percentage column beside it.
struct ValueColumn {
    int col;
    int variable;  // index into aVars
    bool percentage;
};

// A row-dimension cell: text values trimmed; numbers by the column's caption
// (month and weekday names, "Others" for a zero duration).
QString rowCell(const Value& v, const QString& caption, const QLocale& locale) {
    if (v.kind() == engine::ValueKind::String) return QString::fromStdString(v.asString()).trimmed();
    QString name = caption.toUpper();
    if (v.isNull()) return QString();
    if (name == "MONTH") return session::MonthText(static_cast<int>(v.asInteger()), locale);
    if (name == "WEEKDAY") return session::WeekdayText(static_cast<int>(v.asInteger()));
    if (name == "DURATION" && v.asDecimal().isZero()) return "Others";
    return format::Format(v, QString(), locale).trimmed();
}

QString valueCell(double value, const FieldDef& variable, const QLocale& locale) {
    if (value <= 0) return QString();
    double divisor = variable.Divisor > 0 ? variable.Divisor : 1;
    return format::Format(value / divisor, variable.Layout, locale);
}

// Runs rowWork(i, locale) for i = 0 .. count-1 on all cores; the first core,
// on this thread, shows its progress through `ui`. Each core formats with a
// locale of its own, as cores sharing one locale object slow each other
// down. With the grid's redraw off, cores may set cells of different rows.
template <class RowWork>
void rowsOnAllCores(session::Ui& ui, size_t count, const RowWork& rowWork) {
    const size_t parts = engine::partsFor(count, 1000);
    engine::runParts(parts, [&](size_t part) {
        const QLocale locale;
        const auto [begin, end] = engine::partRange(count, parts, part);
        for (size_t i = begin; i < end; ++i) {
            if (part == 0) ui.flood(static_cast<int>((i + 1 - begin) * 100 / (end - begin)));
            rowWork(i, locale);
        }
    });
}

// Sets the texts of `made` (by column) in row `row`, keeping the row's text
// where `made` has none. The grid keeps a row's texts in one block: setting
// them together makes it once.
void setRowTexts(grid::GridModel& g, int row, const std::vector<QString>& made) {
    if (std::all_of(made.begin(), made.end(), [](const QString& text) { return text.isEmpty(); })) return;
    const grid::RowTexts& old = std::as_const(g).rowAt(row).texts;
    std::vector<grid::CellText> texts(static_cast<size_t>(old.size()));
    for (int c = 0; c < old.size(); ++c) {
        const QString& text = made[static_cast<size_t>(c)];
        texts[static_cast<size_t>(c)] = text.isEmpty() ? old.cell(c) : grid::CellText(QStringView(text));
    }
    g.setRowTexts(row, texts);
}

// Moves column `col` to the end and drops it.
void dropColumn(grid::GridModel& g, int col) {
    g.colPosition(col, g.cols() - 1);
    g.setCols(g.cols() - 1);
}

}  // namespace

bool FillSummary(session::Session& s, grid::GridModel& g, grid::TextMeasure& measure) {
    const session::CrossTabQuery& q = s.crossTab;
    session::BusyPointer busy(s.ui);
    g.setRedraw(false);
    g.clearSubtotals();
    std::vector<int> used;
    QStringList measures;
    for (int v = 1; v <= s.aVars.upperBound() && s.aVars(v).Level != 0; ++v) {
        used.push_back(v);
        measures << s.aVars(v).FName;
    }
    const int M = static_cast<int>(used.size());
    const int nRowDims = q.nRowDims, nColDims = q.nColDims;
    std::vector<ValueColumn> valueColumns;
    bool totalsAdded = false;
    try {
        int dataRows = 0;
        for (int k = 1; k < q.aQuerySql.size(); ++k) {
            s.nQueryIndex = k;
            if (s.rsData.State() == engine::adStateOpen) s.rsData.Close();
            s.rsData.Open(q.aQuerySql[k].toStdString(), s.cnData, engine::adOpenStatic, engine::adLockReadOnly);
            PivotTable t = Pivot(s.rsData, q.sRowFields, q.aColSpecs.value(k), measures, s.aDims);
            const int records = static_cast<int>(t.rows.size());
            // The value columns this statement brings.
            int col = k == 1 ? nRowDims + 1 : g.cols();
            std::vector<ValueColumn> mine;
            for (int j = 0; j < t.valueFields.size(); ++j) {
                const FieldDef& variable = s.aVars(used[static_cast<size_t>(j % std::max(M, 1))]);
                mine.push_back({col, used[static_cast<size_t>(j % std::max(M, 1))], variable.ShowTotal});
                col += variable.ShowTotal ? 2 : 1;
            }
            if (k == 1) {
                g.clear();
                // Columns before rows: the new rows are made at their full width.
                g.setCols(nRowDims + 1);
                g.setCols(col);
                g.setRows(records + 1 + nColDims);
                g.setFixedRows(nColDims + 1);
                g.setFixedCols(1);
                g.setFrozenCols(nRowDims);
                for (int c = 0; c <= nRowDims; ++c) {
                    g.setColHidden(c, false);
                    g.setMergeCol(c, false);
                }
                for (int r = 0; r <= nColDims; ++r) g.setMergeRow(r, true);
                for (int c = 1; c <= nRowDims; ++c) {
                    int field = session::FindFieldByName(s.aDims, t.rowFields.value(c - 1));
                    g.setTextMatrix(0, c, field > 0 ? s.aDims(field).FDesc : t.rowFields.value(c - 1));
                }
                dataRows = records;
            }
            // A later statement adds its value columns; then come their headers.
            g.setCols(col);
            for (const ValueColumn& vc : mine) {
                QStringList parts = t.valueFields[static_cast<int>(&vc - mine.data())].split('|');
                const FieldDef& variable = s.aVars(vc.variable);
                for (int p = 0; p < nColDims; ++p) {
                    g.setTextMatrix(p, vc.col, parts.value(p));
                    if (vc.percentage) g.setTextMatrix(p, vc.col + 1, parts.value(p));
                }
                g.setTextMatrix(nColDims, vc.col, variable.FDesc);
                if (vc.percentage) g.setTextMatrix(nColDims, vc.col + 1, variable.FDesc + "%");
            }
            for (int r = 0; r <= nColDims; ++r)
                for (int c = 0; c < g.cols(); ++c) g.setCellBold(r, c, true);

            s.ui.flood(0);
            std::vector<QString> captions;  // of the row dimensions, by column
            for (int c = 0; c <= nRowDims; ++c) captions.push_back(g.textMatrix(0, c));
            const size_t filled = static_cast<size_t>(std::min(records, dataRows));
            rowsOnAllCores(s.ui, filled, [&](size_t i, const QLocale& locale) {
                const int row = nColDims + 1 + static_cast<int>(i);
                std::vector<QString> made(static_cast<size_t>(g.cols()));
                if (k == 1)
                    for (int c = 1; c <= nRowDims; ++c)
                        made[static_cast<size_t>(c)] =
                            rowCell(t.rows[i][static_cast<size_t>(c - 1)], captions[c], locale);
                for (const auto& [j, value] : t.cells[i]) {
                    const ValueColumn& vc = mine[static_cast<size_t>(j)];
                    made[static_cast<size_t>(vc.col)] = valueCell(value, s.aVars(vc.variable), locale);
                }
                setRowTexts(g, row, made);
            });
            s.ui.flood(0);
            valueColumns.insert(valueColumns.end(), mine.begin(), mine.end());
        }

        if (dataRows > 0) {
            std::vector<grid::SubtotalRequest> grandTotals;
            for (const ValueColumn& vc : valueColumns) {
                g.setColAlignment(vc.col, grid::alignRightCenter);
                if (vc.percentage) g.setColAlignment(vc.col + 1, grid::alignRightCenter);
                grid::SubtotalRequest request;
                request.function = grid::subtotalSum;
                request.groupCol = -1;
                request.totalCol = vc.col;
                request.format = s.aVars(vc.variable).Layout;
                request.foreColor = grandTotalColor;
                request.bold = true;
                request.caption = "%s";
                grandTotals.push_back(request);
            }
            g.subtotal(grandTotals);
            totalsAdded = !grandTotals.empty();
            const int totalRow = g.fixedRows();
            // Percentages of each column's grand total, the total row included.
            std::vector<std::pair<int, float>> totals;  // (column, its grand total)
            for (const ValueColumn& vc : valueColumns)
                if (vc.percentage) totals.emplace_back(vc.col, static_cast<float>(g.valueMatrix(totalRow, vc.col)));
            rowsOnAllCores(s.ui, static_cast<size_t>(g.rows() - totalRow), [&](size_t i, const QLocale& locale) {
                const int r = totalRow + static_cast<int>(i);
                const grid::RowTexts& texts = std::as_const(g).rowAt(r).texts;
                std::vector<QString> made(static_cast<size_t>(g.cols()));
                for (const auto& [col, total] : totals) {
                    if (texts.cell(col).isEmpty() || total == 0) continue;
                    const float value = static_cast<float>(grid::GridModel::numberFromText(texts.cell(col)));
                    made[static_cast<size_t>(col + 1)] =
                        format::Format(double(value) / total * 100, percentPattern, locale);
                }
                setRowTexts(g, r, made);
            });
            s.ui.flood(0);
            // Columns whose total is nothing go.
            for (int c = nRowDims + 1; c < g.cols();) {
                if (g.valueMatrix(totalRow, c) <= 0)
                    dropColumn(g, c);
                else
                    ++c;
            }
            // A "Total " column that follows a single other column repeats it.
            for (int k = 1; k <= nRowDims && k < g.fixedRows(); ++k) {
                int since = 0;
                for (int c = nRowDims + 1; c < g.cols();) {
                    if (g.textMatrix(k, c).left(6) == "Total ") {
                        bool drop = since == 1;
                        since = 0;
                        if (drop) {
                            dropColumn(g, c);
                            continue;
                        }
                    } else {
                        ++since;
                    }
                    ++c;
                }
            }
            for (int k = 1; k <= nRowDims; ++k) g.setMergeCol(k, true);
            if (g.cols() > nRowDims + 1) {
                // Rows with nothing in them go.
                for (int r = g.rows() - 1; r >= totalRow; --r)
                    if (g.valueMatrix(r, nRowDims + 1) == 0 && std::as_const(g).rowAt(r).texts.cell(1).isEmpty() &&
                        !g.isSubtotal(r))
                        g.removeItem(r);
                if (totalsAdded) g.removeItem(totalRow);
            } else {
                // No value column is left: no row holds anything, the grand
                // total included, and the headers stay alone.
                g.setRows(g.fixedRows());
            }
        }
        // The heading block sits centre-top; the row dimensions' captions on
        // its first line sit left.
        for (int r = 0; r < g.fixedRows(); ++r)
            for (int c = 1; c < g.cols(); ++c)
                g.setCellAlignment(r, c, r == 0 && c <= nRowDims ? grid::alignLeftTop : grid::alignCenterTop);
        g.autoSize(1, g.cols() - 1, measure);
        g.setRedraw(true);
        if (s.embedded()) grid::WriteGridFile(g, s.sReportFolder + "GridData.bin");
        return true;
    } catch (const engine::EngineError& e) {
        g.setRedraw(true);
        s.ui.critical(QString::fromStdString(e.description()));
        return false;
    }
}

}  // namespace vantrep::analysis
