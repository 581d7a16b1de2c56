#include <gtest/gtest.h>

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>

#include "engine/EngineError.h"
#include "grid/GridFile.h"

using vantrep::engine::EngineError;
using namespace vantrep::grid;

namespace {

GridModel sample() {
    GridModel grid(4, 3);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setFrozenCols(2);
    grid.setTextMatrix(0, 0, "MEDIA");
    grid.setTextMatrix(1, 1, QString::fromUtf8("Ελλάδα"));
    grid.setTextMatrix(3, 2, "1,234.50");
    grid.setCellData(1, 1, QVariant(QString("clip.mpg")));
    grid.setCellBold(2, 0, true);
    grid.setCellForeColor(2, 2, 0x0000CC);
    grid.setCellBackColor(3, 0, 0x669900);
    grid.setCellAlignment(0, 1, alignCenterTop);
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(QColor(10, 20, 30));
    grid.setCellPicture(2, 1, picture);
    grid.setRowData(1, QVariant(5));
    grid.setRowHidden(3, true);
    grid.setMergeRow(0, true);
    grid.setOutlineLevel(2, -1);
    grid.setIsSubtotal(2, true);
    grid.setColAlignment(2, alignRightCenter);
    grid.setColWidth(1, 2000);
    grid.setColHidden(0, true);
    grid.setMergeCol(1, true);
    return grid;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

}  // namespace

TEST(GridFile, RoundTripKeepsEverything) {
    QTemporaryDir dir;
    const QString path = dir.filePath("GridData.bin");
    const GridModel original = sample();
    WriteGridFile(original, path);
    const GridModel copy = ReadGridFile(path);
    ASSERT_EQ(copy.rows(), 4);
    ASSERT_EQ(copy.cols(), 3);
    EXPECT_EQ(copy.fixedRows(), 1);
    EXPECT_EQ(copy.fixedCols(), 1);
    EXPECT_EQ(copy.frozenCols(), 2);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(copy.rowData(r), original.rowData(r));
        EXPECT_EQ(copy.rowHidden(r), original.rowHidden(r));
        EXPECT_EQ(copy.mergeRow(r), original.mergeRow(r));
        EXPECT_EQ(copy.outlineLevel(r), original.outlineLevel(r));
        EXPECT_EQ(copy.isSubtotal(r), original.isSubtotal(r));
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(copy.textMatrix(r, c), original.textMatrix(r, c));
            EXPECT_EQ(copy.cellData(r, c), original.cellData(r, c));
            EXPECT_EQ(copy.cellPicture(r, c), original.cellPicture(r, c));
            EXPECT_EQ(copy.cellBold(r, c), original.cellBold(r, c));
            EXPECT_EQ(copy.cellForeColor(r, c), original.cellForeColor(r, c));
            EXPECT_EQ(copy.cellBackColor(r, c), original.cellBackColor(r, c));
            EXPECT_EQ(copy.cellAlignment(r, c), original.cellAlignment(r, c));
        }
    }
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(copy.colAlignment(c), original.colAlignment(c));
        EXPECT_EQ(copy.colWidth(c), original.colWidth(c));
        EXPECT_EQ(copy.colHidden(c), original.colHidden(c));
        EXPECT_EQ(copy.mergeCol(c), original.mergeCol(c));
    }
    // Spot checks against the values set, not only against the original.
    EXPECT_EQ(copy.textMatrix(1, 1), QString::fromUtf8("Ελλάδα"));
    EXPECT_EQ(copy.cellForeColor(2, 2), 0x0000CC);
    EXPECT_EQ(copy.cellPicture(2, 1).pixelColor(2, 1), QColor(10, 20, 30));
    EXPECT_EQ(copy.colWidth(1), 2000);
}

TEST(GridFile, HeaderIsMagicVersionAndSizes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("GridData.bin");
    WriteGridFile(sample(), path);
    const QByteArray bytes = readBytes(path);
    ASSERT_GE(bytes.size(), 26);
    EXPECT_EQ(bytes.left(4), QByteArray("VRGD"));
    EXPECT_EQ(bytes.mid(4, 2), QByteArray("\x01\x00", 2));
    EXPECT_EQ(bytes.mid(6, 4), QByteArray("\x04\x00\x00\x00", 4));   // rows
    EXPECT_EQ(bytes.mid(10, 4), QByteArray("\x03\x00\x00\x00", 4));  // cols
}

TEST(GridFile, DamagedFilesAreRefusedNamingTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("GridData.bin");
    WriteGridFile(sample(), path);
    const QByteArray good = readBytes(path);

    const auto expectCorrupt = [&](const QByteArray& bytes) {
        writeBytes(path, bytes);
        try {
            ReadGridFile(path);
            ADD_FAILURE() << "accepted a damaged file";
        } catch (const EngineError& e) {
            EXPECT_EQ(e.number(), vantrep::engine::errCorruptTable);
            EXPECT_NE(e.description().find("GridData.bin"), std::string::npos);
        }
    };
    expectCorrupt(QByteArray("not a grid"));
    expectCorrupt(good.left(good.size() - 3));
    expectCorrupt(good + "x");
    QByteArray version = good;
    version[4] = 2;
    expectCorrupt(version);
    QByteArray rows = good;
    rows[9] = 0x7F;  // a row count far beyond the file
    expectCorrupt(rows);
    QByteArray fixed = good;
    fixed[14] = 9;  // more fixed rows than rows
    expectCorrupt(fixed);

    GridModel aligned(1, 1);
    aligned.setCellAlignment(0, 0, alignLeftTop);
    WriteGridFile(aligned, path);
    QByteArray badAlignment = readBytes(path);
    badAlignment[badAlignment.size() - 4] = 42;  // the cell's alignment code, last in the file
    expectCorrupt(badAlignment);
}

TEST(GridFile, MissingFileAndUnwritablePath) {
    QTemporaryDir dir;
    try {
        ReadGridFile(dir.filePath("none.bin"));
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.number(), vantrep::engine::errFileNotFound);
        EXPECT_NE(e.description().find("none.bin"), std::string::npos);
    }
    EXPECT_THROW(WriteGridFile(sample(), dir.filePath("no/such/folder/GridData.bin")), EngineError);
}

TEST(GridFile, EmptyGridRoundTrips) {
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.bin");
    WriteGridFile(GridModel(), path);
    const GridModel copy = ReadGridFile(path);
    EXPECT_EQ(copy.rows(), 0);
    EXPECT_EQ(copy.cols(), 0);
}

TEST(GridFile, SubtotalRowColoursAreKeptForEveryCell) {
    GridModel original(1, 3);
    original.setFixedRows(1);
    original.addItem("Press\tNorth\t10");
    original.addItem("TV\tSouth\t20");
    SubtotalRequest byMedia;
    byMedia.groupCol = 0;
    byMedia.totalCol = 2;
    byMedia.foreColor = 0x0000CC;
    byMedia.bold = true;
    original.subtotal(byMedia);
    original.setCellData(1, 1, QVariant(QString("clip.mpg")));
    ASSERT_TRUE(original.isSubtotal(1));
    QTemporaryDir dir;
    const QString path = dir.filePath("GridData.bin");
    WriteGridFile(original, path);
    const GridModel copy = ReadGridFile(path);
    ASSERT_EQ(copy.rows(), original.rows());
    for (int r = 0; r < copy.rows(); ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(copy.textMatrix(r, c), original.textMatrix(r, c));
            EXPECT_EQ(copy.cellBold(r, c), original.cellBold(r, c));
            EXPECT_EQ(copy.cellForeColor(r, c), original.cellForeColor(r, c));
            EXPECT_EQ(copy.cellBackColor(r, c), original.cellBackColor(r, c));
            EXPECT_EQ(copy.cellData(r, c), original.cellData(r, c));
        }
    }
    EXPECT_EQ(copy.cellForeColor(1, 1), 0x0000CC);
    EXPECT_EQ(copy.cellData(1, 1).toString(), "clip.mpg");
    EXPECT_EQ(copy.cellForeColor(2, 1), -1);
}
