#include "analysis/SpreadsheetExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QUrl>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <set>
#include <tuple>
#include <vector>

#include "engine/EngineError.h"

namespace vantrep::analysis {

namespace {

constexpr int maxSheetRows = 1048576;
constexpr int maxSheetCols = 16384;
constexpr int maxCellChars = 32767;
constexpr int maxLinks = 65530;   // hyperlinks a worksheet may hold
constexpr int maxOutlineLevel = 7;
constexpr int twipsPerPixel = 15;  // at 96 pixels per inch

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw engine::EngineError(engine::errIo, "Cannot write \"" + path.toStdString() + "\": " + reason.toStdString() + ".");
}

// The grid's 24-bit colour (red in the low byte) as the sheet's RGB.
lxw_color_t sheetColor(int color) {
    const int red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
    return static_cast<lxw_color_t>((red << 16) | (green << 8) | blue);
}

QByteArray cellText(const QString& text) { return text.left(maxCellChars).toUtf8(); }

// The criteria text's lines; the empty line a trailing carriage return
// leaves is no line.
QStringList criteriaLines(const QString& criteria) {
    QStringList lines = criteria.split(QRegularExpression("\r\n|\r|\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// A file name beside `target` that no other file has, for the workbook to be
// written under until it is complete.
QString temporaryNameBeside(const QString& target) {
    const QFileInfo info(target);
    QTemporaryFile reserve(info.absolutePath() + "/." + info.fileName() + ".XXXXXX");
    reserve.setAutoRemove(false);
    if (!reserve.open()) fail(target, reserve.errorString());
    const QString name = reserve.fileName();
    reserve.close();
    // The library makes the file itself, with the usual permissions.
    QFile::remove(name);
    return name;
}

// Removes the temporary file unless the workbook has been put in place.
struct TemporaryFileGuard {
    QString path;
    bool placed = false;
    ~TemporaryFileGuard() {
        if (!placed) QFile::remove(path);
    }
};

// The look of one cell; cells that look alike share one format.
struct CellStyle {
    bool heading = false;
    bool bold = false;
    int foreColor = -1;
    int backColor = -1;
    int numberColumn = -1;  // grid column whose number format applies; -1 none
    auto operator<=>(const CellStyle&) const = default;
};

class SheetWriter {
public:
    SheetWriter(const grid::GridModel& grid, const SpreadsheetContent& content, const QString& file,
                const QString& target)
        : grid_(grid), content_(content), target_(target), tmpdir_(QDir::tempPath().toLocal8Bit()) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = tmpdir_.data();
        const QByteArray name = QFile::encodeName(file);
        workbook_ = workbook_new_opt(name.constData(), &options);
        if (!workbook_) fail(target_, "the workbook cannot be made");
        sheet_ = workbook_add_worksheet(workbook_, SheetNameOf(content.sheetName).toUtf8().constData());
        if (!sheet_) fail(target_, "the worksheet cannot be made");
    }
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;
    ~SheetWriter() {
        if (workbook_) lxw_workbook_free(workbook_);
    }

    void write(const std::vector<int>& rows, const std::vector<int>& cols, const QStringList& criteria);

    // Writes the file; the workbook is gone afterwards, written or not.
    void close() {
        const lxw_error error = workbook_close(workbook_);
        workbook_ = nullptr;
        check(error);
    }

private:
    // The library's failures as this program's: no memory as std::bad_alloc,
    // as C++ code running out says it, anything else as an error naming the file.
    void check(lxw_error error) const {
        if (error == LXW_ERROR_MEMORY_MALLOC_FAILED) throw std::bad_alloc();
        if (error != LXW_NO_ERROR) fail(target_, lxw_strerror(error));
    }
    lxw_format* formatOf(const CellStyle& style);
    void setUpSheet(const std::vector<int>& cols, int headingTop, int headingRows);
    void writeHeadingRow(int gridRow, int sheetRow, const std::vector<int>& cols);
    void writeDataRow(int gridRow, int sheetRow, const std::vector<int>& cols);
    void writeDataCell(int gridRow, int col, int sheetRow, int sheetCol);
    int outlineLevelOf(int gridRow) const;

    const grid::GridModel& grid_;
    const SpreadsheetContent& content_;
    const QString target_;
    QByteArray tmpdir_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::map<CellStyle, lxw_format*> formats_;
    std::vector<lxw_format*> columnFormats_;  // by grid column: its plain value format, or null
    int clipCol_ = -1;
    int links_ = 0;
    std::vector<int> subtotalLevels_;  // distinct outline levels of the subtotal rows, ascending
};

lxw_format* SheetWriter::formatOf(const CellStyle& style) {
    auto found = formats_.find(style);
    if (found != formats_.end()) return found->second;
    lxw_format* format = workbook_add_format(workbook_);
    if (!format) throw std::bad_alloc();
    if (style.heading) {
        format_set_border(format, LXW_BORDER_THIN);
        format_set_align(format, LXW_ALIGN_CENTER);
        format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
    }
    if (style.bold || style.heading) format_set_bold(format);
    if (style.foreColor >= 0) format_set_font_color(format, sheetColor(style.foreColor));
    if (style.backColor >= 0) format_set_bg_color(format, sheetColor(style.backColor));
    if (style.numberColumn >= 0)
        format_set_num_format(format, content_.columns[static_cast<size_t>(style.numberColumn)].numberFormat.toUtf8().constData());
    formats_.emplace(style, format);
    return format;
}

void SheetWriter::setUpSheet(const std::vector<int>& cols, int headingTop, int headingRows) {
    for (size_t i = 0; i < cols.size(); ++i) {
        const int c = cols[i];
        const int twips = grid_.colWidth(c);
        const auto sheetCol = static_cast<lxw_col_t>(i);
        if (twips >= 0) check(worksheet_set_column_pixels(sheet_, sheetCol, sheetCol, static_cast<uint32_t>((twips + twipsPerPixel / 2) / twipsPerPixel), nullptr));
        const bool hasFormat = static_cast<size_t>(c) < content_.columns.size() &&
                               content_.columns[static_cast<size_t>(c)].kind != SheetValueKind::Text;
        columnFormats_[static_cast<size_t>(c)] = hasFormat ? formatOf({.numberColumn = c}) : nullptr;
        for (int r = 0; r < grid_.fixedRows(); ++r)
            if (grid_.textMatrix(r, c).compare(QLatin1String("Ad type"), Qt::CaseInsensitive) == 0) clipCol_ = c;
    }
    int frozenCols = 0;
    for (int c : cols) frozenCols += c < grid_.fixedCols() + grid_.frozenCols() ? 1 : 0;
    const int frozenRows = headingTop + headingRows;
    if (frozenRows > 0 || frozenCols > 0)
        worksheet_freeze_panes(sheet_, static_cast<lxw_row_t>(frozenRows), static_cast<lxw_col_t>(frozenCols));
    if (headingRows > 0)
        check(worksheet_repeat_rows(sheet_, static_cast<lxw_row_t>(headingTop), static_cast<lxw_row_t>(frozenRows - 1)));
    if (!subtotalLevels_.empty()) worksheet_outline_settings(sheet_, LXW_TRUE, LXW_FALSE, LXW_FALSE, LXW_FALSE);
}

// Subtotal rows sit at their level's rank among the subtotal levels, data
// rows below the deepest, so that the sheet's outline folds them as the
// grid's outline does.
int SheetWriter::outlineLevelOf(int gridRow) const {
    if (subtotalLevels_.empty()) return 0;
    int level = static_cast<int>(subtotalLevels_.size());
    if (grid_.isSubtotal(gridRow)) {
        auto at = std::lower_bound(subtotalLevels_.begin(), subtotalLevels_.end(), grid_.outlineLevel(gridRow));
        level = static_cast<int>(at - subtotalLevels_.begin());
    }
    return std::min(level, maxOutlineLevel);
}

// Heading cells merge along their row as the grid merges them. A merge is
// declared while its row is the one being written: rows already written are
// not kept, and the library refuses merges that start in them.
void SheetWriter::writeHeadingRow(int gridRow, int sheetRow, const std::vector<int>& cols) {
    std::vector<int> sheetCol(static_cast<size_t>(grid_.cols()), -1);
    for (size_t i = 0; i < cols.size(); ++i) sheetCol[static_cast<size_t>(cols[i])] = static_cast<int>(i);
    lxw_format* heading = formatOf({.heading = true});
    const auto r = static_cast<lxw_row_t>(sheetRow);
    std::vector<std::pair<int, int>> merges;  // first and last sheet column
    for (size_t i = 0; i < cols.size(); ++i) {
        const grid::CellRange block = grid_.mergedRange(gridRow, cols[i]);
        int first = static_cast<int>(i), last = static_cast<int>(i);
        if (block.row1 <= gridRow && block.row2 >= gridRow)
            for (int c = block.col1; c <= block.col2; ++c) {
                const int sc = sheetCol[static_cast<size_t>(c)];
                if (sc < 0) continue;
                first = std::min(first, sc);
                last = std::max(last, sc);
            }
        const auto c = static_cast<lxw_col_t>(i);
        const QString text = grid_.textMatrix(gridRow, cols[i]);
        if (first != static_cast<int>(i) || text.isEmpty()) {
            check(worksheet_write_blank(sheet_, r, c, heading));
            continue;
        }
        if (last > first) merges.emplace_back(first, last);
        check(worksheet_write_string(sheet_, r, c, cellText(text).constData(), heading));
    }
    for (const auto& [first, last] : merges) {
        const QByteArray text = cellText(grid_.textMatrix(gridRow, cols[static_cast<size_t>(first)]));
        check(worksheet_merge_range(sheet_, r, static_cast<lxw_col_t>(first), r, static_cast<lxw_col_t>(last),
                                    text.constData(), heading));
    }
}

void SheetWriter::writeDataCell(int gridRow, int col, int sheetRow, int sheetCol) {
    const grid::GridRow& row = grid_.rowAt(gridRow);
    const QString text = row.texts.text(col);
    const grid::CellExtra* extra = row.extras.empty() ? nullptr : row.extras.find(col);
    const std::optional<bool> bold = row.boldAt(col);
    const std::optional<int> foreColor = row.foreColorAt(col);
    const std::optional<int> backColor = row.backColorAt(col);
    const auto r = static_cast<lxw_row_t>(sheetRow);
    const auto c = static_cast<lxw_col_t>(sheetCol);
    const bool formatted = static_cast<size_t>(col) < content_.columns.size();
    const std::optional<double> value =
        formatted ? SheetValueOf(text, content_.columns[static_cast<size_t>(col)]) : std::nullopt;
    lxw_format* format = value ? columnFormats_[static_cast<size_t>(col)] : nullptr;
    if (bold || foreColor || backColor) {
        format = formatOf({.bold = bold.value_or(false),
                           .foreColor = foreColor.value_or(-1),
                           .backColor = backColor.value_or(-1),
                           .numberColumn = value ? col : -1});
    }
    if (value) {
        check(worksheet_write_number(sheet_, r, c, *value, format));
        return;
    }
    if (text.isEmpty()) {
        if (backColor) check(worksheet_write_blank(sheet_, r, c, format));
        return;
    }
    const QByteArray utf8 = cellText(text);
    if (col == clipCol_ && links_ < maxLinks) {
        const QString clip = extra ? extra->data().toString().trimmed() : QString();
        if (!clip.isEmpty()) {
            const QString file = QDir::cleanPath(QDir(content_.reportFolder).absoluteFilePath(clip));
            const QByteArray url = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded).toUtf8();
            if (worksheet_write_url_opt(sheet_, r, c, url.constData(), nullptr, utf8.constData(), nullptr) ==
                LXW_NO_ERROR) {
                ++links_;
                return;
            }
        }
    }
    check(worksheet_write_string(sheet_, r, c, utf8.constData(), format));
}

void SheetWriter::writeDataRow(int gridRow, int sheetRow, const std::vector<int>& cols) {
    if (!subtotalLevels_.empty()) {
        lxw_row_col_options options{};
        options.level = static_cast<uint8_t>(outlineLevelOf(gridRow));
        check(worksheet_set_row_opt(sheet_, static_cast<lxw_row_t>(sheetRow), LXW_DEF_ROW_HEIGHT, nullptr, &options));
    }
    for (size_t i = 0; i < cols.size(); ++i) writeDataCell(gridRow, cols[i], sheetRow, static_cast<int>(i));
}

void SheetWriter::write(const std::vector<int>& rows, const std::vector<int>& cols, const QStringList& criteria) {
    std::set<int> levels;
    int headingRows = 0;
    for (int r : rows) {
        if (r < grid_.fixedRows()) ++headingRows;
        else if (grid_.isSubtotal(r)) levels.insert(grid_.outlineLevel(r));
    }
    subtotalLevels_.assign(levels.begin(), levels.end());
    columnFormats_.assign(static_cast<size_t>(grid_.cols()), nullptr);
    const int top = static_cast<int>(criteria.size());
    setUpSheet(cols, top, headingRows);
    for (int i = 0; i < top; ++i)
        check(worksheet_write_string(sheet_, static_cast<lxw_row_t>(i), 0, cellText(criteria[i]).constData(), nullptr));
    int sheetRow = top;
    for (int r : rows) {
        if (r < grid_.fixedRows()) writeHeadingRow(r, sheetRow++, cols);
        else writeDataRow(r, sheetRow++, cols);
    }
}

}  // namespace

QString SheetNameOf(const QString& reportName) {
    QString name = reportName;
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    name.replace(forbidden, QStringLiteral("_"));
    while (name.startsWith(u'\'')) name.remove(0, 1);
    const QList<uint> codePoints = name.toUcs4();
    if (codePoints.size() > 31) name = QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), 31);
    while (name.endsWith(u'\'')) name.chop(1);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

void ExportGrid(const grid::GridModel& grid, const SpreadsheetContent& content, const QString& path) {
    std::vector<int> rows, cols;
    for (int r = 0; r < grid.rows(); ++r)
        if (!grid.rowHidden(r)) rows.push_back(r);
    for (int c = 0; c < grid.cols(); ++c)
        if (!grid.colHidden(c)) cols.push_back(c);
    const QStringList criteria = criteriaLines(content.criteria);
    const qsizetype sheetRows = criteria.size() + static_cast<qsizetype>(rows.size());
    if (sheetRows > maxSheetRows || static_cast<qsizetype>(cols.size()) > maxSheetCols)
        fail(path, QString("the report has %1 rows and %2 columns; a worksheet holds at most %3 rows and %4 columns")
                       .arg(sheetRows).arg(cols.size()).arg(maxSheetRows).arg(maxSheetCols));

    TemporaryFileGuard temporary{temporaryNameBeside(path)};
    SheetWriter writer(grid, content, temporary.path, path);
    writer.write(rows, cols, criteria);
    writer.close();
    if (std::rename(QFile::encodeName(temporary.path).constData(), QFile::encodeName(path).constData()) != 0)
        fail(path, QString::fromLocal8Bit(std::strerror(errno)));
    temporary.placed = true;
}

}  // namespace vantrep::analysis
