// The main grid's model: a table of cell texts with fixed (header) rows and
// columns, per-cell and per-row data, formatting, merging, outline levels and
// subtotal rows, and the editing operations the fills, the report, the chart
// and the export rely on. Rows and columns are 0-based; fixed rows come
// first, then the data rows; a new model has no fixed rows or columns. No
// widgets: a view reads the model and listens to its change notifications.
// Positions outside the grid throw EngineError naming the row or column.
#pragma once

#include <QImage>
#include <QString>
#include <QVariant>

#include <cstddef>
#include <atomic>
#include <functional>
#include <span>
#include <vector>

#include "grid/GridCell.h"
#include "grid/TextMeasure.h"

namespace vantrep::grid {


// Subtotal functions by number; a request with a number not listed here
// throws EngineError (errNotSupported) naming it.
enum SubtotalFunction : int {
    subtotalClear = 1,
    subtotalSum = 2,
    subtotalCount = 4,
    subtotalAverage = 5,
};

// One request to the subtotal facility. groupCol -1 is the whole grid (a
// grand total). Colours -1 mean the default. In the caption "%s" stands for
// the group's value, or "Grand Total" for the whole grid.
struct SubtotalRequest {
    SubtotalFunction function = subtotalSum;
    int groupCol = -1;
    int totalCol = 0;
    QString format;
    int backColor = -1;
    int foreColor = -1;
    bool bold = false;
    QString caption = QStringLiteral("%s");
};

class GridModel {
public:
    using Observer = std::function<void()>;

    GridModel(int rows = 0, int cols = 0);
    GridModel(const GridModel&) = delete;
    GridModel& operator=(const GridModel&) = delete;
    GridModel(GridModel&&) = default;
    GridModel& operator=(GridModel&&) = default;

    // Size. Growing adds empty rows or columns at the end; shrinking drops
    // the last ones; everything else is kept.
    int rows() const { return static_cast<int>(rows_.size()); }
    int cols() const { return cols_; }
    void setRows(int rows);
    void setCols(int cols);
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    int frozenCols() const { return frozenCols_; }
    void setFixedRows(int n);
    void setFixedCols(int n);
    void setFrozenCols(int n);

    // Cell text. Out-of-range positions throw EngineError.
    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    // Sets a whole row at once: texts[c] into column c, the columns after
    // the given texts emptied. More texts than columns throw EngineError.
    void setRowTexts(int row, std::span<const QStringView> texts);
    void setRowTexts(int row, std::span<const CellText> texts);

    // The cell's text read as a number: grouping commas ignored, a trailing
    // "%" divides by 100 ("12%" -> 0.12), "" and any non-number give 0.
    double valueMatrix(int row, int col) const;
    // Whether the text reads as a number under the rules of valueMatrix.
    static bool isNumericText(QStringView text);
    static bool isNumericText(const QString& text) { return isNumericText(QStringView(text)); }
    static bool isNumericText(CellText text);
    static double numberFromText(QStringView text);
    static double numberFromText(const QString& text) { return numberFromText(QStringView(text)); }
    static double numberFromText(CellText text);

    QVariant cellData(int row, int col) const;
    void setCellData(int row, int col, const QVariant& data);
    QImage cellPicture(int row, int col) const;
    void setCellPicture(int row, int col, const QImage& picture);
    bool cellBold(int row, int col) const;
    void setCellBold(int row, int col, bool bold);
    // A cell's own alignment code (0..9), or -1 when it has none.
    int cellAlignment(int row, int col) const;
    void setCellAlignment(int row, int col, int alignment);
    // 24-bit colours, blue in the high byte; -1 when the cell has the default.
    int cellForeColor(int row, int col) const;
    void setCellForeColor(int row, int col, int color);
    int cellBackColor(int row, int col) const;
    void setCellBackColor(int row, int col, int color);

    QVariant rowData(int row) const;
    void setRowData(int row, const QVariant& data);
    bool rowHidden(int row) const;
    void setRowHidden(int row, bool hidden);
    int outlineLevel(int row) const;
    void setOutlineLevel(int row, int level);
    bool isSubtotal(int row) const;
    void setIsSubtotal(int row, bool subtotal);

    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);  // 0..9
    bool colHidden(int col) const;
    void setColHidden(int col, bool hidden);
    int colWidth(int col) const;  // twips, -1 for the default
    void setColWidth(int col, int twips);

    // Merging: equal, non-empty neighbouring texts merge along a row whose
    // flag is set, or down a column whose flag is set. mergedRange gives the
    // block the cell belongs to (the cell alone when it merges with nothing);
    // a merge along the row is looked for first.
    bool mergeRow(int row) const;
    void setMergeRow(int row, bool merge);
    bool mergeCol(int col) const;
    void setMergeCol(int col, bool merge);
    CellRange mergedRange(int row, int col) const;

    // Inserts a row from tab-separated texts (extra texts ignored) before
    // `position`, or at the end when position is -1.
    void addItem(const QString& tabbedText, int position = -1);
    void removeItem(int row);
    // Moves a column (or row) so that it ends at index `position`.
    void colPosition(int col, int position);
    void rowPosition(int row, int position);
    // Empties every cell and drops all cell and row data and formatting;
    // sizes, fixed counts and column settings stay.
    void clear();
    // Sorts the data rows (fixed rows stay) by a column, each run of data
    // rows between subtotal rows on its own: rows stay in their innermost
    // group and subtotal rows stay where they are. Ascending, numeric texts
    // come first in order of value, then the other texts (the empty text
    // among them) case-insensitively; descending is the reverse. Stable.
    void sort(int col, bool ascending);
    // The texts of a block: cells separated by tabs, rows by "\r".
    QString clipText(const CellRange& range) const;

    // Subtotals: rows above the data, the group's row before its rows, the
    // grand total at row fixedRows(). A second request for the same group
    // column fills the existing subtotal rows. Subtotal rows are marked with
    // isSubtotal and the group column as outline level (-1 for the grand
    // total). The caption goes in the group column (column 0 for the grand
    // total), the formatted total in the total column; the request's bold and
    // colours apply to the whole subtotal row. Groups break where the text of
    // the group column or of any column left of it changes, and at an
    // enclosing subtotal row. Totals read the data rows' values
    // (valueMatrix); subtotal rows are never counted. A grand total is made
    // only when there are data rows. A request with subtotalClear removes
    // all subtotal rows.
    void subtotal(const SubtotalRequest& request);
    // Requests made in turn, as many calls of subtotal() would make them;
    // those of one group column one after the other are made in one pass.
    void subtotal(const std::vector<SubtotalRequest>& requests);
    void clearSubtotals();

    // Sets the widths of columns col1..col2 to their widest text plus
    // `paddingTwips`, measured on the visible rows.
    void autoSize(int col1, int col2, TextMeasure& measure, int paddingTwips = 120);

    // Change notifications. With redraw off, changes are collected and one
    // notification goes out when redraw is switched back on. While redraw is
    // off and the size stays as it is, the cells of different rows may be
    // set from different threads at once.
    int addObserver(Observer observer);
    void removeObserver(int id);
    bool redraw() const { return redraw_; }
    void setRedraw(bool on);

    // An estimate of the memory the model holds, in bytes.
    std::size_t memoryEstimate() const;

    // Raw access for the save file.
    const GridRow& rowAt(int row) const;
    GridRow& rowAt(int row);
    const GridColumn& columnAt(int col) const;
    GridColumn& columnAt(int col);

private:
    void checkCell(int row, int col) const;
    void checkRow(int row) const;
    void checkCol(int col) const;
    CellExtra& extra(int row, int col);
    const CellExtra* findExtra(int row, int col) const;
    void dropEmptyExtra(int row, int col);
    // Gives the row's format to each of its cells and drops it, before a
    // cell's own bold or colour is set.
    void spreadFormat(GridRow& row);
    GridRow emptyRow() const;
    void changed();
    void insertSubtotalRows(std::span<const SubtotalRequest> requests);

    std::vector<GridRow> rows_;
    std::vector<GridColumn> columns_;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    int frozenCols_ = 0;
    // A change noted while redraw is off; set from any thread filling rows.
    struct PendingFlag {
        std::atomic<bool> value{false};
        PendingFlag() = default;
        PendingFlag(PendingFlag&& other) noexcept : value(other.value.load()) {}
        PendingFlag& operator=(PendingFlag&& other) noexcept {
            value = other.value.load();
            return *this;
        }
    };
    bool redraw_ = true;
    PendingFlag pending_;
    int nextObserverId_ = 1;
    std::vector<std::pair<int, Observer>> observers_;
};

}  // namespace vantrep::grid
