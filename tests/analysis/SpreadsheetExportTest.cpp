// The spreadsheet export of the shipped sample reports, read back by another
// program (Python's openpyxl) and compared with the TSV export of the same
// grid, cell by cell, as the spreadsheet shows the cells.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QUrl>

#include "analysis/DetailedListing.h"
#include "analysis/ReportRun.h"
#include "analysis/SpreadsheetExport.h"
#include "engine/EngineError.h"
#include "grid/GridText.h"
#include "session/Criteria.h"
#include "session/ReportOpening.h"
#include "support/ReportFolderTest.h"

namespace vantrep::analysis {
namespace {

const QString samples = QStringLiteral(VANTREP_SAMPLES_DIR);

// Column letters of a 0-based sheet column.
QString letters(int col) {
    QString name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26) name.prepend(QChar('A' + (n - 1) % 26));
    return name;
}

class SpreadsheetExport : public ReportFolderTest {
protected:
    // Opens a shipped sample as the program does and fills its grid.
    void open(const QString& report) {
        s = std::make_unique<session::Session>(ui, report);
        ASSERT_EQ(session::OpenDizave(*s, report), session::OpenOutcome::Opened);
        ASSERT_TRUE(RefillReport(*s, GridTarget{grid, measure, clipButton}));
        ASSERT_TRUE(ui.messages.empty());
        ASSERT_GT(grid.rows(), grid.fixedRows());
    }

    // Exports the grid with `criteria` and reads the workbook back against
    // the grid's TSV export.
    QJsonObject exportAndCheck(const QString& criteria, const QString& reportFolder, int criteriaRows) {
        const QString xlsx = folder + "out.xlsx";
        const QString tsv = folder + "out.tsv";
        ExportGrid(grid, SpreadsheetContentFor(*s, grid, criteria, reportFolder), xlsx);
        grid::WriteGridText(grid, tsv, grid::TextLayout::Tsv);
        QProcess python;
        python.start("/usr/bin/python3", {QStringLiteral(VANTREP_TEST_SUPPORT_DIR) + "/check_workbook.py", xlsx, tsv,
                                          QString::number(criteriaRows), QString::number(grid.fixedRows())});
        EXPECT_TRUE(python.waitForFinished(120000));
        const QByteArray out = python.readAllStandardOutput();
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(out).object();
    }

    // Sheet columns of the grid's visible columns.
    std::vector<int> visibleColumns() const {
        std::vector<int> cols;
        for (int c = 0; c < grid.cols(); ++c)
            if (!grid.colHidden(c)) cols.push_back(c);
        return cols;
    }

    // What every workbook must show: the cells as the grid shows them, the
    // widths, the frozen panes and the repeated heading rows.
    void expectGridLayout(const QJsonObject& book, int top) {
        for (const QJsonValue& m : book["mismatches"].toArray()) ADD_FAILURE() << m.toString().toStdString();
        EXPECT_EQ(book["maxRow"].toInt(), top + grid.rows());
        EXPECT_TRUE(book["headingsBoldAndBordered"].toBool());
        const std::vector<int> cols = visibleColumns();
        EXPECT_EQ(book["maxColumn"].toInt(), static_cast<int>(cols.size()));
        int frozen = 0;
        const QJsonObject widths = book["widths"].toObject();
        for (size_t i = 0; i < cols.size(); ++i) {
            if (cols[i] < grid.fixedCols() + grid.frozenCols()) ++frozen;
            if (grid.colWidth(cols[i]) < 0) continue;
            const double pixels = grid.colWidth(cols[i]) / 15.0;
            const QString col = letters(static_cast<int>(i));
            ASSERT_TRUE(widths.contains(col)) << col.toStdString();
            EXPECT_NEAR(widths[col].toDouble() * 7, pixels, 1.5) << col.toStdString();
        }
        const int firstData = top + grid.fixedRows() + 1;
        EXPECT_EQ(book["freeze"].toString(), letters(frozen) + QString::number(firstData));
        const QString titles = QString("%1:%2").arg(top + 1).arg(top + grid.fixedRows());
        EXPECT_EQ(book["titleRows"].toString().remove('$'), titles);
    }

    grid::GridModel grid;
    QImage clipButton{8, 8, QImage::Format_RGB32};
    std::unique_ptr<session::Session> s;
};

TEST_F(SpreadsheetExport, SummaryHasCriteriaHeadingsNumbersMergesWidthsAndPanes) {
    open(samples + "/summary/DATA.DBF");
    const QString pageFilter = " Channel in('BAVO TV')";
    const QString criteria = session::getCriteria(pageFilter, s->sReportTitle);
    const QJsonObject book = exportAndCheck(criteria, samples + "/summary/", 2);
    ASSERT_FALSE(book.isEmpty());
    EXPECT_EQ(book["sheet"].toString(), "Brand Spends");
    EXPECT_EQ(book["criteria"].toArray(), (QJsonArray{"Channel in('BAVO TV')", "Brand spends by month and weekday"}));
    for (const QJsonValue& v : book["aboveCriteria"].toArray()) EXPECT_TRUE(v.isNull());
    expectGridLayout(book, 2);

    // Value columns hold numbers only, row dimensions text only.
    const QJsonObject kinds = book["kinds"].toObject();
    const std::vector<int> cols = visibleColumns();
    for (size_t i = 0; i < cols.size(); ++i) {
        const QJsonObject k = kinds[letters(static_cast<int>(i))].toObject();
        int filled = 0;
        for (int r = grid.fixedRows(); r < grid.rows(); ++r) filled += grid.textMatrix(r, cols[i]).isEmpty() ? 0 : 1;
        if (cols[i] < grid.fixedCols() + grid.frozenCols()) {
            EXPECT_EQ(k["number"].toInt(), 0) << i;
        } else {
            EXPECT_EQ(k["text"].toInt(), 0) << i;
            EXPECT_EQ(k["number"].toInt(), filled) << i;
            EXPECT_GT(filled, 0) << i;
        }
    }

    // Runs of one heading text along a heading row are merged cells.
    QStringList merges;
    for (int r = 0; r < grid.fixedRows(); ++r)
        for (size_t i = 0; i < cols.size();) {
            size_t j = i;
            const QString text = grid.textMatrix(r, cols[i]);
            while (j + 1 < cols.size() && !text.isEmpty() && grid.textMatrix(r, cols[j + 1]) == text) ++j;
            if (j > i)
                merges << QString("%1%3:%2%3").arg(letters(static_cast<int>(i)), letters(static_cast<int>(j))).arg(r + 3);
            i = j + 1;
        }
    merges.sort();
    ASSERT_FALSE(merges.isEmpty());
    QStringList merged;
    for (const QJsonValue& v : book["merged"].toArray()) merged << v.toString();
    EXPECT_EQ(merged, merges);
    EXPECT_TRUE(book["links"].toObject().isEmpty());
}

TEST_F(SpreadsheetExport, AReportWithoutTitleOrPageFilterStartsInA1) {
    open(samples + "/summary/DATA.DBF");
    const QJsonObject book = exportAndCheck(session::getCriteria(QString(), QString()), samples + "/summary/", 0);
    ASSERT_FALSE(book.isEmpty());
    expectGridLayout(book, 0);
}

TEST_F(SpreadsheetExport, ListingHasDatesNumbersSubtotalsAndClipLinksToTheOpenedFolder) {
    open(samples + "/detailed/Spot_Listing.dtr");
    const QString criteria = session::getCriteria(QString(), s->sReportTitle);
    const QJsonObject book = exportAndCheck(criteria, samples + "/detailed/", 1);
    ASSERT_FALSE(book.isEmpty());
    EXPECT_EQ(book["criteria"].toArray(), QJsonArray{"Spot listing with clips"});
    expectGridLayout(book, 1);

    int typeCol = -1, dateCol = -1, spendCol = -1;
    const std::vector<int> cols = visibleColumns();
    for (size_t i = 0; i < cols.size(); ++i) {
        const QString heading = grid.textMatrix(0, cols[i]);
        if (heading == "Ad type") typeCol = static_cast<int>(i);
        if (heading == "Date") dateCol = static_cast<int>(i);
        if (heading == "Spend (USD)") spendCol = static_cast<int>(i);
    }
    ASSERT_GE(typeCol, 0);
    ASSERT_GE(dateCol, 0);
    ASSERT_GE(spendCol, 0);
    const QJsonObject kinds = book["kinds"].toObject();
    const QJsonObject dates = kinds[letters(dateCol)].toObject();
    const QJsonObject spends = kinds[letters(spendCol)].toObject();
    EXPECT_EQ(dates["text"].toInt(), 0);
    EXPECT_GT(dates["date"].toInt(), 1000);
    EXPECT_EQ(spends["text"].toInt(), 0);
    EXPECT_EQ(spends["number"].toInt(), grid.rows() - 1);  // the subtotal rows' totals too

    // Every clip cell links to its file in the folder the user opened.
    const QJsonObject links = book["links"].toObject();
    int clips = 0;
    for (int r = 1; r < grid.rows(); ++r) {
        // A cell that shows no text has nothing to click on and keeps its cell empty.
        const QString clip = grid.cellData(r, cols[static_cast<size_t>(typeCol)]).toString();
        if (clip.isEmpty() || grid.textMatrix(r, cols[static_cast<size_t>(typeCol)]).isEmpty()) continue;
        ++clips;
        const QString cell = letters(typeCol) + QString::number(r + 2);
        const QString target = links[cell].toString();
        EXPECT_EQ(QUrl(target).toLocalFile().toStdString(), QDir::cleanPath(samples + "/detailed/" + clip).toStdString())
            << cell.toStdString();
        EXPECT_TRUE(QFile::exists(QUrl(target).toLocalFile())) << target.toStdString();
    }
    EXPECT_GT(clips, 10);
    EXPECT_EQ(links.size(), clips);

    // Subtotal rows keep their colour and sit above their group in the outline.
    const QJsonObject levels = book["levels"].toObject();
    const QJsonObject colours = book["fontColors"].toObject();
    int subtotals = 0;
    for (int r = 1; r < grid.rows(); ++r) {
        const QString row = QString::number(r + 2);
        if (!grid.isSubtotal(r)) {
            EXPECT_EQ(levels[row].toInt(), 2) << r;
            continue;
        }
        ++subtotals;
        const int level = grid.outlineLevel(r);
        EXPECT_EQ(levels[row].toInt(), level - 1) << r;
        const int c = SubtotalLevelColor(level);
        const QString rgb = QString("FF%1%2%3").arg(c & 0xFF, 2, 16, QChar('0')).arg((c >> 8) & 0xFF, 2, 16, QChar('0'))
                                .arg((c >> 16) & 0xFF, 2, 16, QChar('0')).toUpper();
        EXPECT_EQ(colours[row].toString(), rgb) << r;
    }
    EXPECT_GT(subtotals, 0);
}

TEST_F(SpreadsheetExport, AListingWithoutClipsHasNoLinks) {
    open(samples + "/detailed/Spot_Listing.dtr");
    s->bClipDet = false;
    ASSERT_TRUE(FillDetailed(*s, grid, measure, clipButton));
    const QJsonObject book = exportAndCheck(QString(), samples + "/detailed/", 0);
    ASSERT_FALSE(book.isEmpty());
    expectGridLayout(book, 0);
    EXPECT_TRUE(book["links"].toObject().isEmpty());
}

TEST_F(SpreadsheetExport, AFailedWriteLeavesTheFileThatWasThere) {
    open(samples + "/summary/DATA.DBF");
    const QString target = folder + "kept.xlsx";
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the user's old workbook");
    }
    const SpreadsheetContent content = SpreadsheetContentFor(*s, grid, QString(), samples + "/summary/");
    // The workbook is complete but cannot take the place of what is there.
    const QString blocked = folder + "blocked.xlsx";
    ASSERT_TRUE(QDir().mkpath(blocked + "/inside"));
    EXPECT_THROW(ExportGrid(grid, content, blocked), engine::EngineError);
    EXPECT_TRUE(QDir(blocked + "/inside").exists());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.xlsx"});

    // A folder where nothing can be written: the error names the file.
    try {
        ExportGrid(grid, content, "/proc/vantrep-export.xlsx");
        ADD_FAILURE() << "no error";
    } catch (const engine::EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("/proc/vantrep-export.xlsx"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(QFile::exists("/proc/vantrep-export.xlsx"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "the user's old workbook");

    // Done right, the new workbook replaces the old file.
    ExportGrid(grid, content, target);
    QFile replaced(target);
    ASSERT_TRUE(replaced.open(QIODevice::ReadOnly));
    EXPECT_TRUE(replaced.read(2) == "PK");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.xlsx"});
}

TEST(SheetName, IsCleanedAndCutToWhatASheetNameMayHold) {
    EXPECT_EQ(SheetNameOf("Brand Spends"), "Brand Spends");
    EXPECT_EQ(SheetNameOf("Q1/Q2: [TV]*?\\"), "Q1_Q2_ _TV____");
    EXPECT_EQ(SheetNameOf("'quoted'"), "quoted");
    EXPECT_EQ(SheetNameOf("A report name longer than thirty-one characters"), "A report name longer than thirt");
    EXPECT_EQ(SheetNameOf(""), "Sheet1");
    EXPECT_EQ(SheetNameOf("''"), "Sheet1");
}

}  // namespace
}  // namespace vantrep::analysis
