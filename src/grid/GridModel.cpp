#include "grid/GridModel.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

#include "engine/EngineError.h"

namespace vantrep::grid {

using engine::EngineError;
using engine::errNotSupported;

namespace {

[[noreturn]] void outOfRange(const std::string& what) {
    throw EngineError(errNotSupported, "Grid: " + what + " is out of range.");
}

}  // namespace

GridModel::GridModel(int rows, int cols) {
    setCols(cols);
    setRows(rows);
}

GridRow GridModel::emptyRow() const {
    GridRow row;
    row.texts = RowTexts(cols_);
    return row;
}

void GridModel::setRows(int rows) {
    if (rows < 0) outOfRange("row count " + std::to_string(rows));
    if (rows < this->rows()) {
        rows_.resize(rows);
    } else {
        rows_.reserve(rows);
        while (this->rows() < rows) rows_.push_back(emptyRow());
    }
    fixedRows_ = std::min(fixedRows_, rows);
    changed();
}

void GridModel::setCols(int cols) {
    if (cols < 0) outOfRange("column count " + std::to_string(cols));
    for (GridRow& row : rows_) {
        // New cells take no formatting: a row's format is given to the
        // cells it had.
        if (cols > cols_ && !row.format.empty()) spreadFormat(row);
        row.texts.resize(cols);
        row.extras.eraseFrom(cols);
    }
    columns_.resize(cols);
    cols_ = cols;
    fixedCols_ = std::min(fixedCols_, cols);
    frozenCols_ = std::min(frozenCols_, cols);
    changed();
}

void GridModel::setFixedRows(int n) {
    if (n < 0 || n > rows()) outOfRange("fixed row count " + std::to_string(n));
    fixedRows_ = n;
    changed();
}

void GridModel::setFixedCols(int n) {
    if (n < 0 || n > cols_) outOfRange("fixed column count " + std::to_string(n));
    fixedCols_ = n;
    changed();
}

void GridModel::setFrozenCols(int n) {
    if (n < 0 || n > cols_) outOfRange("frozen column count " + std::to_string(n));
    frozenCols_ = n;
    changed();
}

void GridModel::checkRow(int row) const {
    if (row < 0 || row >= rows()) outOfRange("row " + std::to_string(row));
}

void GridModel::checkCol(int col) const {
    if (col < 0 || col >= cols_) outOfRange("column " + std::to_string(col));
}

void GridModel::checkCell(int row, int col) const {
    checkRow(row);
    checkCol(col);
}

QString GridModel::textMatrix(int row, int col) const {
    checkCell(row, col);
    return rows_[row].texts.text(col);
}

void GridModel::setTextMatrix(int row, int col, const QString& text) {
    checkCell(row, col);
    rows_[row].texts.set(col, text);
    changed();
}

void GridModel::setRowTexts(int row, std::span<const QStringView> texts) {
    checkRow(row);
    if (texts.size() > static_cast<size_t>(cols_)) outOfRange("column " + std::to_string(texts.size() - 1));
    rows_[row].texts.assign(texts);
    changed();
}

void GridModel::setRowTexts(int row, std::span<const CellText> texts) {
    checkRow(row);
    if (texts.size() > static_cast<size_t>(cols_)) outOfRange("column " + std::to_string(texts.size() - 1));
    rows_[row].texts.assign(texts);
    changed();
}

void GridModel::spreadFormat(GridRow& row) {
    if (row.format.empty()) return;
    row.extras.reserve(static_cast<size_t>(cols_));
    for (int c = 0; c < cols_; ++c) {
        CellExtra& e = row.extras[c];
        e.bold = row.format.bold;
        e.foreColor = row.format.foreColor;
        e.backColor = row.format.backColor;
    }
    row.format = RowFormat();
}

namespace {

// The text with blanks and grouping commas removed and a trailing "%" noted.
QString numberBody(QStringView text, bool& percent) {
    QString body = text.trimmed().toString();
    body.remove(QLatin1Char(','));
    percent = body.endsWith(QLatin1Char('%'));
    if (percent) body.chop(1);
    return body.trimmed();
}

}  // namespace

bool GridModel::isNumericText(QStringView text) {
    bool percent = false;
    const QString body = numberBody(text, percent);
    if (body.isEmpty()) return false;
    bool ok = false;
    body.toDouble(&ok);
    return ok;
}

namespace {

// The common case, read straight from the text: digits with grouping commas,
// at most one point, a leading "-" and a trailing "%", of at most 15
// significant digits and 22 decimals. The digits as a whole number, which a
// double holds exactly, divided by a power of ten, which it also holds
// exactly, give the nearest double in one rounding, as a full reading would.
bool readShortDecimal(QStringView text, double& value) {
    static constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const QChar* chars = text.constData();
    const qsizetype length = text.size();
    qsizetype i = 0;
    const bool negative = length > 0 && chars[0] == u'-';
    if (negative) ++i;
    bool percent = false;
    bool digit = false;
    int64_t whole = 0;
    int digits = 0;
    int decimals = -1;  // -1 until the point
    for (; i < length; ++i) {
        const char16_t c = chars[i].unicode();
        if (c == u',') continue;
        if (c == u'%' && i == length - 1 && i > 0) {
            percent = true;
            continue;
        }
        if (c == u'.') {
            if (decimals >= 0) return false;
            decimals = 0;
            continue;
        }
        if (c < u'0' || c > u'9') return false;
        digit = true;
        if (whole > 0 || c != u'0') ++digits;
        if (digits > 15) return false;
        whole = whole * 10 + (c - u'0');
        if (decimals >= 0 && ++decimals > 22) return false;
    }
    if (!digit) return false;
    const double magnitude = static_cast<double>(whole) / powersOfTen[std::max(decimals, 0)];
    value = negative ? -magnitude : magnitude;
    if (percent) value /= 100.0;
    return true;
}

// Longer plain numbers: the same characters, read in full. False when the
// text has anything else, leaving it to the general reading.
bool readPlainNumber(QStringView text, double& value) {
    if (readShortDecimal(text, value)) return true;
    char buffer[64];
    int length = 0;
    bool percent = false;
    bool digit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u',') continue;
        if (c == u'%' && i == text.size() - 1 && i > 0) {
            percent = true;
            continue;
        }
        const bool allowed = (c >= u'0' && c <= u'9') || c == u'.' || (c == u'-' && i == 0);
        if (!allowed || length == static_cast<int>(sizeof buffer)) return false;
        digit = digit || (c >= u'0' && c <= u'9');
        buffer[length++] = static_cast<char>(c);
    }
    if (!digit) return false;
    const auto result = std::from_chars(buffer, buffer + length, value);
    if (result.ec != std::errc() || result.ptr != buffer + length) return false;
    if (percent) value /= 100.0;
    return true;
}

}  // namespace

double GridModel::numberFromText(QStringView text) {
    if (text.isEmpty()) return 0.0;
    double plain = 0.0;
    if (readPlainNumber(text, plain)) return plain;
    bool percent = false;
    const QString body = numberBody(text, percent);
    bool ok = false;
    const double value = body.toDouble(&ok);
    if (!ok) return 0.0;
    return percent ? value / 100.0 : value;
}

namespace {

// read(text as UTF-16): a short one-byte text is widened on the stack.
template <typename Read>
auto readAsUtf16(CellText text, Read read) {
    if (!text.isOneByte()) return read(QStringView(text.utf16(), text.size()));
    constexpr qsizetype room = 64;
    if (text.size() <= room) {
        char16_t chars[room];
        text.copyTo(chars);
        return read(QStringView(chars, text.size()));
    }
    const QString wide = text.toString();
    return read(QStringView(wide));
}

}  // namespace

bool GridModel::isNumericText(CellText text) {
    return readAsUtf16(text, [](QStringView wide) { return isNumericText(wide); });
}

double GridModel::numberFromText(CellText text) {
    return readAsUtf16(text, [](QStringView wide) { return numberFromText(wide); });
}

double GridModel::valueMatrix(int row, int col) const {
    checkCell(row, col);
    return numberFromText(rows_[row].texts.cell(col));
}

CellExtra& GridModel::extra(int row, int col) {
    checkCell(row, col);
    return rows_[row].extras[col];
}

const CellExtra* GridModel::findExtra(int row, int col) const {
    checkCell(row, col);
    return rows_[row].extras.find(col);
}

void GridModel::dropEmptyExtra(int row, int col) {
    CellExtras& extras = rows_[row].extras;
    CellExtra& e = extras[col];
    if (e.attachment && e.attachment->data.isNull() && e.attachment->picture.isNull()) e.attachment.reset();
    if (e.empty()) extras.erase(col);
}

QVariant GridModel::cellData(int row, int col) const {
    const CellExtra* e = findExtra(row, col);
    return e ? e->data() : QVariant();
}

void GridModel::setCellData(int row, int col, const QVariant& data) {
    extra(row, col).attach().data = data;
    dropEmptyExtra(row, col);
    changed();
}

QImage GridModel::cellPicture(int row, int col) const {
    const CellExtra* e = findExtra(row, col);
    return e ? e->picture() : QImage();
}

void GridModel::setCellPicture(int row, int col, const QImage& picture) {
    extra(row, col).attach().picture = picture;
    dropEmptyExtra(row, col);
    changed();
}

bool GridModel::cellBold(int row, int col) const {
    checkCell(row, col);
    return rows_[row].boldAt(col).value_or(false);
}

void GridModel::setCellBold(int row, int col, bool bold) {
    checkCell(row, col);
    spreadFormat(rows_[row]);
    CellExtra& e = extra(row, col);
    if (bold) e.bold = true; else e.bold.reset();
    dropEmptyExtra(row, col);
    changed();
}

int GridModel::cellAlignment(int row, int col) const {
    const CellExtra* e = findExtra(row, col);
    return e && e->alignment ? *e->alignment : -1;
}

void GridModel::setCellAlignment(int row, int col, int alignment) {
    if (alignment < alignLeftTop || alignment > alignGeneral)
        outOfRange("alignment code " + std::to_string(alignment));
    extra(row, col).alignment = alignment;
    changed();
}

int GridModel::cellForeColor(int row, int col) const {
    checkCell(row, col);
    return rows_[row].foreColorAt(col).value_or(-1);
}

void GridModel::setCellForeColor(int row, int col, int color) {
    checkCell(row, col);
    spreadFormat(rows_[row]);
    CellExtra& e = extra(row, col);
    if (color >= 0) e.foreColor = color & 0xFFFFFF; else e.foreColor.reset();
    dropEmptyExtra(row, col);
    changed();
}

int GridModel::cellBackColor(int row, int col) const {
    checkCell(row, col);
    return rows_[row].backColorAt(col).value_or(-1);
}

void GridModel::setCellBackColor(int row, int col, int color) {
    checkCell(row, col);
    spreadFormat(rows_[row]);
    CellExtra& e = extra(row, col);
    if (color >= 0) e.backColor = color & 0xFFFFFF; else e.backColor.reset();
    dropEmptyExtra(row, col);
    changed();
}

QVariant GridModel::rowData(int row) const {
    checkRow(row);
    return rows_[row].data ? *rows_[row].data : QVariant();
}

void GridModel::setRowData(int row, const QVariant& data) {
    checkRow(row);
    rows_[row].data = data.isValid() ? std::make_unique<QVariant>(data) : nullptr;
    changed();
}

bool GridModel::rowHidden(int row) const {
    checkRow(row);
    return rows_[row].hidden;
}

void GridModel::setRowHidden(int row, bool hidden) {
    checkRow(row);
    rows_[row].hidden = hidden;
    changed();
}

int GridModel::outlineLevel(int row) const {
    checkRow(row);
    return rows_[row].outlineLevel;
}

void GridModel::setOutlineLevel(int row, int level) {
    checkRow(row);
    rows_[row].outlineLevel = level;
    changed();
}

bool GridModel::isSubtotal(int row) const {
    checkRow(row);
    return rows_[row].subtotal;
}

void GridModel::setIsSubtotal(int row, bool subtotal) {
    checkRow(row);
    rows_[row].subtotal = subtotal;
    changed();
}

int GridModel::colAlignment(int col) const {
    checkCol(col);
    return columns_[col].alignment;
}

void GridModel::setColAlignment(int col, int alignment) {
    checkCol(col);
    if (alignment < alignLeftTop || alignment > alignGeneral)
        outOfRange("alignment code " + std::to_string(alignment));
    columns_[col].alignment = alignment;
    changed();
}

bool GridModel::colHidden(int col) const {
    checkCol(col);
    return columns_[col].hidden;
}

void GridModel::setColHidden(int col, bool hidden) {
    checkCol(col);
    columns_[col].hidden = hidden;
    changed();
}

int GridModel::colWidth(int col) const {
    checkCol(col);
    return columns_[col].widthTwips;
}

void GridModel::setColWidth(int col, int twips) {
    checkCol(col);
    columns_[col].widthTwips = twips < 0 ? -1 : twips;
    changed();
}

bool GridModel::mergeRow(int row) const {
    checkRow(row);
    return rows_[row].merge;
}

void GridModel::setMergeRow(int row, bool merge) {
    checkRow(row);
    rows_[row].merge = merge;
    changed();
}

bool GridModel::mergeCol(int col) const {
    checkCol(col);
    return columns_[col].merge;
}

void GridModel::setMergeCol(int col, bool merge) {
    checkCol(col);
    columns_[col].merge = merge;
    changed();
}

CellRange GridModel::mergedRange(int row, int col) const {
    checkCell(row, col);
    CellRange range{row, col, row, col};
    const CellText text = rows_[row].texts.cell(col);
    if (text.isEmpty()) return range;
    if (rows_[row].merge) {
        const auto& texts = rows_[row].texts;
        while (range.col1 > 0 && texts.cell(range.col1 - 1) == text) --range.col1;
        while (range.col2 + 1 < cols_ && texts.cell(range.col2 + 1) == text) ++range.col2;
        if (range.col1 != range.col2) return range;
    }
    if (columns_[col].merge) {
        while (range.row1 > 0 && rows_[range.row1 - 1].texts.cell(col) == text) --range.row1;
        while (range.row2 + 1 < rows() && rows_[range.row2 + 1].texts.cell(col) == text) ++range.row2;
    }
    return range;
}

int GridModel::addObserver(Observer observer) {
    const int id = nextObserverId_++;
    observers_.emplace_back(id, std::move(observer));
    return id;
}

void GridModel::removeObserver(int id) {
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void GridModel::setRedraw(bool on) {
    redraw_ = on;
    if (on && pending_.value) changed();
}

void GridModel::changed() {
    if (!redraw_) {
        // Cores setting cells at once only read the flag once it is set, so
        // they do not take its cache line from each other on every cell.
        if (!pending_.value.load(std::memory_order_relaxed)) pending_.value.store(true, std::memory_order_relaxed);
        return;
    }
    pending_.value = false;
    for (const auto& entry : observers_) entry.second();
}

std::size_t GridModel::memoryEstimate() const {
    std::size_t bytes = sizeof(GridModel) + columns_.capacity() * sizeof(GridColumn)
                        + rows_.capacity() * sizeof(GridRow);
    for (const GridRow& row : rows_) {
        bytes += row.texts.blockBytes();
        for (const auto& [col, extra] : row.extras)
            bytes += sizeof(col) + sizeof(CellExtra) + (extra.attachment ? sizeof(CellAttachment) + 16 : 0);
    }
    return bytes;
}

const GridRow& GridModel::rowAt(int row) const {
    checkRow(row);
    return rows_[row];
}

GridRow& GridModel::rowAt(int row) {
    checkRow(row);
    return rows_[row];
}

const GridColumn& GridModel::columnAt(int col) const {
    checkCol(col);
    return columns_[col];
}

GridColumn& GridModel::columnAt(int col) {
    checkCol(col);
    return columns_[col];
}

}  // namespace vantrep::grid
