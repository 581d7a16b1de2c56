#include "grid/GridText.h"

#include <QSaveFile>

#include "engine/EngineError.h"

namespace vantrep::grid {

namespace {

bool needsTsvEscape(const QString& text) {
    for (const QChar c : text)
        if (c == u'\\' || c == u'\t' || c == u'\n' || c == u'\r') return true;
    return false;
}

void appendTsvCell(QString& out, const QString& text) {
    if (!needsTsvEscape(text)) {
        out += text;
        return;
    }
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

void appendCsvCell(QString& out, const QString& text) {
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
        if (layout == TextLayout::Tsv) appendTsvCell(out, row.texts[c]);
        else appendCsvCell(out, row.texts[c]);
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
    // Rows go out in blocks of about a megabyte, so a large grid is never
    // held a second time as one text.
    constexpr qsizetype blockChars = 1 << 19;
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    QString block;
    block.reserve(blockChars + 4096);
    for (int r = 0; ok && r < grid.rows(); ++r) {
        if (grid.rowAt(r).hidden) continue;
        appendRow(block, grid, r, layout);
        if (block.size() >= blockChars) {
            ok = file.write(block.toUtf8()) >= 0;
            block.resize(0);
        }
    }
    if (ok && !block.isEmpty()) ok = file.write(block.toUtf8()) >= 0;
    if (!ok || !file.commit())
        throw engine::EngineError(engine::errIo, "Cannot write \"" + path.toStdString() + "\": " +
                                                     file.errorString().toStdString() + ".");
}

}  // namespace vantrep::grid
