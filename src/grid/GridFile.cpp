#include "grid/GridFile.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

#include <string>
#include <vector>

#include "engine/EngineError.h"

namespace vantrep::grid {

namespace {

constexpr quint32 kMagic = 0x44475256;  // the bytes "VRGD" when written little-endian
constexpr quint16 kVersion = 1;
constexpr int kMaxCols = 100000;

enum RowFlags : quint8 { rowHidden = 1, rowMerge = 2, rowSubtotal = 4 };
enum ExtraFlags : quint8 { hasData = 1, hasPicture = 2, hasBold = 4, hasFore = 8, hasBack = 16, hasAlignment = 32 };

void setStreamVersion(QDataStream& stream) {
    stream.setVersion(QDataStream::Qt_6_0);
    stream.setByteOrder(QDataStream::LittleEndian);
}

void writeExtra(QDataStream& out, int col, const CellExtra& e) {
    quint8 flags = 0;
    const QVariant data = e.data();
    const QImage picture = e.picture();
    if (!data.isNull()) flags |= hasData;
    if (!picture.isNull()) flags |= hasPicture;
    if (e.bold) flags |= hasBold;
    if (e.foreColor) flags |= hasFore;
    if (e.backColor) flags |= hasBack;
    if (e.alignment) flags |= hasAlignment;
    out << qint32(col) << flags;
    if (flags & hasData) out << data;
    if (flags & hasPicture) out << picture;
    if (flags & hasBold) out << *e.bold;
    if (flags & hasFore) out << qint32(*e.foreColor);
    if (flags & hasBack) out << qint32(*e.backColor);
    if (flags & hasAlignment) out << qint32(*e.alignment);
}

[[noreturn]] void corrupt(const QString& path, const std::string& what) {
    throw engine::EngineError(engine::errCorruptTable,
                              "The grid file " + path.toStdString() + " is damaged: " + what + ".");
}

// Stops the read when the stream has run out or failed.
void checkStream(const QDataStream& in, const QString& path, const std::string& where) {
    if (in.status() != QDataStream::Ok) corrupt(path, "it ends early or cannot be read (" + where + ")");
}

}  // namespace

void WriteGridFile(const GridModel& model, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw engine::EngineError(engine::errIo, "Cannot write the grid file " + path.toStdString() + ": "
                                  + file.errorString().toStdString());
    QDataStream out(&file);
    setStreamVersion(out);
    out << kMagic << kVersion << qint32(model.rows()) << qint32(model.cols()) << qint32(model.fixedRows())
        << qint32(model.fixedCols()) << qint32(model.frozenCols());
    for (int c = 0; c < model.cols(); ++c) {
        const GridColumn& col = model.columnAt(c);
        out << qint32(col.alignment) << qint32(col.widthTwips) << col.hidden << col.merge;
    }
    for (int r = 0; r < model.rows(); ++r) {
        const GridRow& row = model.rowAt(r);
        quint8 flags = 0;
        if (row.hidden) flags |= rowHidden;
        if (row.merge) flags |= rowMerge;
        if (row.subtotal) flags |= rowSubtotal;
        out << flags << qint32(row.outlineLevel) << (row.data ? *row.data : QVariant());
        for (int c = 0; c < row.texts.size(); ++c) out << row.texts.text(c);
        if (row.format.empty()) {
            out << qint32(row.extras.size());
            for (const auto& [c, e] : row.extras) writeExtra(out, c, e);
            continue;
        }
        // The file keeps formatting per cell: a row's format is written as
        // every cell's.
        out << qint32(model.cols());
        for (int c = 0; c < model.cols(); ++c) {
            const CellExtra* own = row.extras.find(c);
            CellExtra e = own ? *own : CellExtra();
            e.bold = row.format.bold;
            e.foreColor = row.format.foreColor;
            e.backColor = row.format.backColor;
            writeExtra(out, c, e);
        }
    }
    if (out.status() != QDataStream::Ok || !file.commit())
        throw engine::EngineError(engine::errIo, "Cannot write the grid file " + path.toStdString() + ": "
                                  + file.errorString().toStdString());
}

GridModel ReadGridFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        throw engine::EngineError(engine::errFileNotFound, "The grid file " + path.toStdString() + " does not exist.");
    if (!file.open(QIODevice::ReadOnly))
        throw engine::EngineError(engine::errIo, "Cannot read the grid file " + path.toStdString() + ": "
                                  + file.errorString().toStdString());
    QDataStream in(&file);
    setStreamVersion(in);

    quint32 magic = 0;
    quint16 version = 0;
    qint32 rows = 0, cols = 0, fixedRows = 0, fixedCols = 0, frozenCols = 0;
    in >> magic >> version;
    checkStream(in, path, "header");
    if (magic != kMagic) corrupt(path, "it is not a grid file");
    if (version != kVersion) corrupt(path, "its version " + std::to_string(version) + " is not known");
    in >> rows >> cols >> fixedRows >> fixedCols >> frozenCols;
    checkStream(in, path, "sizes");
    if (rows < 0 || cols < 0 || cols > kMaxCols) corrupt(path, "impossible grid size");
    if (fixedRows > rows || fixedCols > cols || frozenCols > cols || fixedRows < 0 || fixedCols < 0 || frozenCols < 0)
        corrupt(path, "fixed or frozen counts outside the grid");
    // Every row takes at least 9 bytes, so a huge count in a small file is damage.
    if (static_cast<qint64>(rows) * 9 > file.size()) corrupt(path, "the row count does not fit the file");

    GridModel model(0, cols);
    for (int c = 0; c < cols; ++c) {
        GridColumn& col = model.columnAt(c);
        qint32 alignment = 0, width = 0;
        in >> alignment >> width >> col.hidden >> col.merge;
        checkStream(in, path, "column " + std::to_string(c));
        if (alignment < alignLeftTop || alignment > alignGeneral)
            corrupt(path, "column " + std::to_string(c) + " has alignment code " + std::to_string(alignment));
        col.alignment = alignment;
        col.widthTwips = width;
    }
    model.setRows(rows);
    for (int r = 0; r < rows; ++r) {
        GridRow& row = model.rowAt(r);
        quint8 flags = 0;
        qint32 level = 0, extras = 0;
        QVariant data;
        in >> flags >> level >> data;
        if (data.isValid()) row.data = std::make_unique<QVariant>(data);
        std::vector<QString> texts(static_cast<size_t>(cols));
        for (QString& text : texts) in >> text;
        row.texts.assign(std::vector<QStringView>(texts.begin(), texts.end()));
        in >> extras;
        checkStream(in, path, "row " + std::to_string(r));
        if (extras < 0 || extras > cols) corrupt(path, "row " + std::to_string(r) + " has a bad cell count");
        row.hidden = flags & rowHidden;
        row.merge = flags & rowMerge;
        row.subtotal = flags & rowSubtotal;
        row.outlineLevel = level;
        for (int i = 0; i < extras; ++i) {
            qint32 col = 0;
            quint8 have = 0;
            in >> col >> have;
            checkStream(in, path, "row " + std::to_string(r));
            if (col < 0 || col >= cols) corrupt(path, "row " + std::to_string(r) + " names column " + std::to_string(col));
            CellExtra& e = row.extras[col];
            if (have & hasData) in >> e.attach().data;
            if (have & hasPicture) in >> e.attach().picture;
            if (have & hasBold) { bool bold = false; in >> bold; e.bold = bold; }
            if (have & hasFore) { qint32 color = 0; in >> color; e.foreColor = color; }
            if (have & hasBack) { qint32 color = 0; in >> color; e.backColor = color; }
            if (have & hasAlignment) { qint32 alignment = 0; in >> alignment; e.alignment = alignment; }
            checkStream(in, path, "row " + std::to_string(r) + ", column " + std::to_string(col));
            if (e.alignment && (*e.alignment < alignLeftTop || *e.alignment > alignGeneral))
                corrupt(path, "row " + std::to_string(r) + ", column " + std::to_string(col) + " has alignment code " +
                                  std::to_string(*e.alignment));
        }
    }
    if (!in.atEnd()) corrupt(path, "unexpected data after the last row");
    model.setFixedRows(fixedRows);
    model.setFixedCols(fixedCols);
    model.setFrozenCols(frozenCols);
    return model;
}

}  // namespace vantrep::grid
