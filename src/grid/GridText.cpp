#include "grid/GridText.h"

#include <QSaveFile>

#include "engine/EngineError.h"

namespace vantrep::grid {

namespace {

QString tsvCell(QString text) {
    text.replace('\\', "\\\\").replace('\t', "\\t").replace('\n', "\\n").replace('\r', "\\r");
    return text;
}

QString csvCell(QString text) {
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r')) return text;
    text.replace('"', "\"\"");
    return '"' + text + '"';
}

}  // namespace

QString GridAsText(const GridModel& grid, TextLayout layout) {
    QString out;
    const QChar separator = layout == TextLayout::Tsv ? QChar('\t') : QChar(',');
    for (int r = 0; r < grid.rows(); ++r) {
        if (grid.rowHidden(r)) continue;
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c) {
            if (grid.colHidden(c)) continue;
            QString text = grid.textMatrix(r, c);
            cells << (layout == TextLayout::Tsv ? tsvCell(text) : csvCell(text));
        }
        out += cells.join(separator) + '\n';
    }
    return out;
}

void WriteGridText(const GridModel& grid, const QString& path, TextLayout layout) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(GridAsText(grid, layout).toUtf8()) < 0 || !file.commit())
        throw engine::EngineError(engine::errIo, "Cannot write \"" + path.toStdString() + "\": " +
                                                     file.errorString().toStdString() + ".");
}

}  // namespace vantrep::grid
