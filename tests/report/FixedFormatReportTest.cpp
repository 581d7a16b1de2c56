// The two fixed-format reports over the shipped sample table, and report 2
// over a small table made here for the suppression rules.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>

#include "engine/dbf/DbfWriter.h"
#include "grid/GridModel.h"
#include "print/support/DocumentText.h"
#include "report/FixedFormatReport.h"
#include "report/PageStamp.h"
#include "session/Session.h"
#include "session/support/FakeUi.h"

namespace vantrep::report {
namespace {

using testing::documentLines;
using testing::pageLines;

// A session on a copy of a folder's DATA.DBF (and memo), as a report opens it.
class FixedReportRun {
public:
    explicit FixedReportRun(const QString& folder) : session_(ui_, QString()) {
        for (const QString& name : QDir(folder).entryList({"DATA.*"}, QDir::Files))
            QFile::copy(folder + "/" + name, temp_.path() + "/" + name);
        session_.sDataFile = "DATA.DBF";
        session_.cnData.Open(("SourceDB=" + temp_.path() + "/;SourceType=DBF;").toStdString());
        installPageEvents(surface_, title1_);
    }
    bool print(int report, const print::PrintFont& font = {QStringLiteral("Liberation Sans"), 9}) {
        return printFixedFormatReport(session_, grid_, surface_, report, font);
    }
    const print::PrintDocument& document() const { return surface_.document(); }
    session::Session& session() { return session_; }
    grid::GridModel& grid() { return grid_; }

    // Distinct values of the joined fields over the whole table.
    int distinct(const QString& fields) {
        engine::Recordset rs;
        rs.Open(("SELECT DISTINCT " + fields + " FROM [DATA.DBF]").toStdString(), session_.cnData,
                engine::adOpenStatic);
        return static_cast<int>(rs.RecordCount());
    }

private:
    QTemporaryDir temp_;
    session::testing::FakeUi ui_;
    session::Session session_;
    print::PrintSurface surface_;
    TitleHolder title1_;
    grid::GridModel grid_;
};

const QString sampleFolder = QStringLiteral(VANTREP_SAMPLES_DIR "/detailed");

TEST(FixedFormatReport, QueriesAreWrittenOutInFull) {
    EXPECT_EQ(fixedReportQuery(2, "DATA.DBF"),
              "SELECT * FROM [DATA.DBF] ORDER BY date, media_name, timest, prog_name, timebrk");
    const QString first = fixedReportQuery(1, "DATA.DBF");
    EXPECT_TRUE(first.startsWith("SELECT *, IIf(time<>' ',Time,color) as Pb,IIf(Medialevel='Television'"));
    EXPECT_TRUE(first.contains("Medialevel='Outdoor'Or Medialevel='Cinema',Total_Ads,' ') as TolAd,"));
    EXPECT_TRUE(first.endsWith(" as main_type FROM [DATA.DBF] ORDER BY medianame, manufact, brand, subbrand, "
                               "product, group, date, time"));
}

TEST(FixedFormatReport, PrintsInTheMainGridsFont) {
    for (int report : {1, 2}) {
        FixedReportRun run(sampleFolder);
        ASSERT_TRUE(run.print(report, {QStringLiteral("Liberation Serif"), 11}));
        // The bands' texts take the grid's font; the surface's own default never shows.
        const print::PrintFont surfaceDefault;
        int inFamily = 0;
        for (const print::PrintFont& font : run.document().fonts) {
            inFamily += font.name == "Liberation Serif";
            EXPECT_FALSE(font.name == surfaceDefault.name && font.size == surfaceDefault.size) << report;
        }
        EXPECT_GT(inFamily, 0) << report;
    }
}

TEST(FixedFormatReport, ReportOnePrintsAFooterAndHeaderAtEveryGroupChange) {
    FixedReportRun run(sampleFolder);
    ASSERT_TRUE(run.print(1));
    const int groups = run.distinct("medianame, manufact, brand, subbrand, product, group");
    ASSERT_GT(groups, 5);
    // The report's lines without the page changes, page headers and page footers.
    QStringList lines = documentLines(run.document());
    lines.removeIf([](const QString& line) {
        return line.startsWith('#') || line.startsWith("Quorvel | Vant") || line.startsWith("Page : | ") ||
               line.startsWith("Markets: | ") || line.startsWith("BRAND | ") || line.startsWith("Date | ");
    });
    const QStringList footers = lines.filter(QRegularExpression("^Total Spots : \\| "));
    EXPECT_EQ(footers.size(), groups);
    EXPECT_EQ(lines.filter(QRegularExpression("^Media \\| ")).size(), groups);
    int spots = 0;
    for (const QString& footer : footers) spots += footer.section(" | ", 1, 1).toInt();
    EXPECT_EQ(spots, 2000);  // every record counted once
    // Each group's totals but the last are followed by the next group's header.
    const QRegularExpression footerThenHeader("^Total Spots : \\| .*\\nMedia \\| ",
                                              QRegularExpression::MultilineOption);
    EXPECT_EQ(lines.join('\n').count(footerThenHeader), groups - 1);
    const QStringList first = pageLines(run.document(), 1);
    EXPECT_EQ(first[0], "Quorvel");  // the report header beside the logo
    EXPECT_TRUE(first[1].startsWith("Page : | 1 | S1 - Detailed Monthly Report in Units | "));
    EXPECT_FALSE(run.document().pages[0].pictures.empty());
    EXPECT_FALSE(run.grid().cellData(0, 0).value<QImage>().isNull());
}

TEST(FixedFormatReport, ReportTwoBreaksThePageAfterEachStationAndDay) {
    FixedReportRun run(sampleFolder);
    ASSERT_TRUE(run.print(2));
    const print::PrintDocument& document = run.document();
    EXPECT_EQ(document.orientation, 1);  // its heading is wider than a portrait page
    const int stations = run.distinct("date, media_name");
    const QRegularExpression footer("^Stationwise Breaks : \\| ");
    qsizetype footers = 0;
    int pagesEndingWithFooter = 0;
    for (int p = 1; p <= document.pageCount(); ++p) {
        QStringList lines = pageLines(document, p);
        lines.removeLast();  // the page footer
        footers += lines.filter(footer).size();
        if (!lines.isEmpty() && lines.last().contains(footer)) ++pagesEndingWithFooter;
        if (p > 1) {
            EXPECT_TRUE(lines.value(0).startsWith("Period | ")) << p;
        }
    }
    EXPECT_EQ(footers, stations);
    EXPECT_EQ(pagesEndingWithFooter, stations - 1);  // the last one is followed by the report's totals
    EXPECT_TRUE(pageLines(document, document.pageCount()).join('\n').contains("Total Breaks : | 2000"));
}

TEST(FixedFormatReport, ReportTwoSuppressesBlankDetailLines) {
    std::vector<engine::dbf::FieldSpec> fields{{"date", 'D'}};
    for (const char* name : {"media_name", "timest", "prog_name", "timebrk", "typology", "timestart", "timeend",
                             "time_durn", "break", "product", "brand", "addesc", "adtp", "lang"})
        fields.push_back({name, 'C', 12});
    fields.push_back({"reel_durn", 'N', 5});
    fields.push_back({"pricedoll", 'N', 8, 2});
    auto row = [](const std::string& product, const std::string& start, const std::string& time, int duration) {
        std::vector<engine::Value> values{engine::Value::date(2460000)};
        for (const std::string& text : std::vector<std::string>{"STATION A", start, "NEWS", time, "", "", "", "",
                                                                 "BREAK 1", product, "", "", "", ""})
            values.push_back(engine::Value::string(text));
        values.push_back(engine::Value::integer(duration));
        values.push_back(engine::Value::integer(duration));
        return values;
    };
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString() + "/DATA.DBF";
    engine::dbf::DbfWriter::create(path, fields);
    // The third record prints nothing: its texts are blank and its numbers 0.
    engine::dbf::DbfWriter(path).appendMany(
        {row("SOAP", "10:00:00", "10:05:00", 30), row("TEA", "10:00:00", "10:06:00", 20), row("", "10:00:30", "", 0),
         row("RICE", "10:01:00", "10:07:00", 10)});
    FixedReportRun run(folder.path());
    ASSERT_TRUE(run.print(2));
    const QStringList lines = pageLines(run.document(), 1);
    std::map<QString, double> baseline;
    for (const print::TextItem& text : run.document().pages[0].texts)
        if (QStringList{"SOAP", "TEA", "RICE"}.contains(text.text.trimmed()))
            baseline[text.text.trimmed()] = text.origin.y();
    ASSERT_EQ(baseline.size(), 3u) << lines.join('\n').toStdString();
    // The blank record, between TEA and RICE, leaves no gap and no blank line.
    EXPECT_NEAR(baseline["TEA"] - baseline["SOAP"], baseline["RICE"] - baseline["TEA"], 1);
    EXPECT_TRUE(lines.filter(QRegularExpression("^\\s*$")).isEmpty()) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.join('\n').contains("Total Breaks : | ")) << lines.join('\n').toStdString();
}

TEST(FixedFormatReport, ErrorsEndTheReportQuietly) {
    FixedReportRun run(sampleFolder);
    run.session().sDataFile = "MISSING.DBF";
    EXPECT_FALSE(run.print(1));
    EXPECT_EQ(run.document().pageCount(), 0);
}

}  // namespace
}  // namespace vantrep::report
