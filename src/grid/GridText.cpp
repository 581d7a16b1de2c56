#include "grid/GridText.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <vector>

#include "engine/EngineError.h"
#include "engine/Parallel.h"

namespace vantrep::grid {

namespace {

bool isTsvSpecial(char16_t c) { return c == u'\\' || c == u'\t' || c == u'\n' || c == u'\r'; }

// The special characters are ASCII: the same byte in the one-byte form.
bool needsTsvEscape(CellText text) {
    if (text.isOneByte())
        return std::any_of(text.bytes(), text.bytes() + text.size(), [](char c) { return isTsvSpecial(uchar(c)); });
    return std::any_of(text.utf16(), text.utf16() + text.size(), isTsvSpecial);
}

// Appends a cell's characters: a one-byte text widened as Latin-1 (which Qt
// does fast), then its bytes 0x80-0x9F given the one-byte form's characters.
void appendCell(QString& out, CellText cell) {
    if (!cell.isOneByte()) {
        out += QStringView(cell.utf16(), cell.size());
        return;
    }
    const qsizetype at = out.size();
    out += QLatin1StringView(cell.bytes(), cell.size());
    char16_t* chars = reinterpret_cast<char16_t*>(out.data()) + at;
    for (qsizetype i = 0; i < cell.size(); ++i)
        if (chars[i] >= 0x80 && chars[i] < 0xA0) chars[i] = onebyte::toChar(static_cast<uchar>(chars[i]));
}

void appendTsvCell(QString& out, CellText cell) {
    if (!needsTsvEscape(cell)) {
        appendCell(out, cell);
        return;
    }
    const QString text = cell.toString();
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
}

// A spreadsheet opening a CSV file runs a cell that begins with "=", "+",
// "-" or "@" as a formula. A number as the grid shows it ("-12.5",
// "-1,234.50", "+5", "-.50", "-3%") is left as it is, to be read as that
// number; any other such text gets a leading apostrophe, so it stays the
// text it was (the apostrophe shows).
bool readAsFormula(const QString& text) {
    if (text.isEmpty()) return false;
    const QChar first = text.front();
    if (first != u'=' && first != u'+' && first != u'-' && first != u'@') return false;
    // One per thread: rows are written on all cores.
    thread_local const QRegularExpression signedNumber(
        QStringLiteral(R"(^[+-](?:(?:\d{1,3}(?:,\d{3})+|\d+)(?:\.\d*)?|\.\d+)(?:[eE][+-]?\d+)?%?$)"));
    return !signedNumber.match(text).hasMatch();
}

void appendCsvCell(QString& out, CellText view) {
    const QString cell = view.toString();
    const QString text = readAsFormula(cell) ? QStringLiteral("'") + cell : cell;
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r')) {
        out += text;
        return;
    }
    out += u'"';
    for (const QChar c : text) {
        if (c == u'"') out += u'"';
        out += c;
    }
    out += u'"';
}

// Appends row `r` as one line.
void appendRow(QString& out, const GridModel& grid, int r, TextLayout layout) {
    const QChar separator = layout == TextLayout::Tsv ? QChar('\t') : QChar(',');
    const GridRow& row = grid.rowAt(r);
    bool first = true;
    for (int c = 0; c < grid.cols(); ++c) {
        if (grid.columnAt(c).hidden) continue;
        if (!first) out += separator;
        first = false;
        if (layout == TextLayout::Tsv) appendTsvCell(out, row.texts.cell(c));
        else appendCsvCell(out, row.texts.cell(c));
    }
    out += u'\n';
}

}  // namespace

QString GridAsText(const GridModel& grid, TextLayout layout) {
    QString out;
    for (int r = 0; r < grid.rows(); ++r)
        if (!grid.rowAt(r).hidden) appendRow(out, grid, r, layout);
    return out;
}

void WriteGridText(const GridModel& grid, const QString& path, TextLayout layout) {
    // Rows are turned into text on all cores, each core taking a run of rows.
    // The first run goes out in blocks of about a megabyte as it is made, so a
    // large grid is never held a second time as one text; the others are
    // kept and written after it, in order.
    constexpr qsizetype blockChars = 1 << 19;
    QSaveFile file(path);
    std::atomic<bool> ok = file.open(QIODevice::WriteOnly);  // read by every part, set by the first
    const size_t rows = static_cast<size_t>(grid.rows());
    const size_t parts = engine::partsFor(rows, 4000);
    std::vector<QByteArray> later(parts);
    engine::runParts(parts, [&](size_t part) {
        const auto [begin, end] = engine::partRange(rows, parts, part);
        QString block;
        block.reserve(blockChars + 4096);
        auto flush = [&] {
            if (part == 0) {
                if (ok && file.write(block.toUtf8()) < 0) ok = false;
            } else {
                later[part] += block.toUtf8();
            }
            block.resize(0);
        };
        for (size_t r = begin; ok && r < end; ++r) {
            if (grid.rowAt(static_cast<int>(r)).hidden) continue;
            appendRow(block, grid, static_cast<int>(r), layout);
            if (block.size() >= blockChars) flush();
        }
        if (!block.isEmpty()) flush();
    });
    for (size_t part = 1; ok && part < parts; ++part) ok = file.write(later[part]) >= 0;
    if (!ok || !file.commit())
        throw engine::EngineError(engine::errIo, "Cannot write \"" + path.toStdString() + "\": " +
                                                     file.errorString().toStdString() + ".");
}

}  // namespace vantrep::grid
