// Filters kept with a saved report: a filtered summary or listing saved and
// opened again through the report run shows the same value lists, page
// filter and grid; hostile values in a filter file never change what the
// statement means; a damaged filter file opens the report without filters,
// in the window's run and in `vantrep --export`.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "analysis/PageFilter.h"
#include "analysis/ReportRun.h"
#include "grid/GridText.h"
#include "session/FilterFile.h"
#include "session/ReportSaving.h"
#include "support/ReportFolderTest.h"
#include "support/SampleCopy.h"

namespace vantrep::analysis {
namespace {

class NoFixedReports : public FixedReportPrinter {
public:
    bool printFixedReport(session::Session&, int) override { return false; }
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

class SavedFilters : public ReportFolderTest {
protected:
    QString copySample(const QString& name, const QString& into = QString()) {
        return vantrep::testing::copySampleFolder(name, into.isEmpty() ? temp.path() : into);
    }
    RunResult run(const QString& argument) {
        session = std::make_unique<session::Session>(ui, argument);
        return RunReport(*session, argument, {grid, measure, clip}, printer);
    }
    int fieldIndex(const QString& name) const {
        for (int i = 1; i <= session->aDims.upperBound(); ++i)
            if (session->aDims(i).FName == name) return i;
        return 0;
    }
    session::ValueList& list(const QString& fname) {
        return session->cmbField[static_cast<size_t>(fieldIndex(fname))];
    }
    // Filters field `fname` to the values of its list (or, for a field whose
    // list holds none, the texts themselves) that read `wanted` when trimmed.
    void filter(const QString& fname, const QStringList& wanted, bool showOthers) {
        session::ValueList& values = list(fname);
        QStringList kept;
        for (const QString& text : wanted) {
            QString found = text;
            for (const QString& item : values.items.mid(1))
                if (item.trimmed() == text) found = item;
            kept << found;
        }
        values.items = QStringList{"Filtered " + session->aDims(fieldIndex(fname)).FDesc} + kept;
        session->aDims(fieldIndex(fname)).ShowOthers = showOthers;
    }
    QStringList cells() const {
        QStringList rows;
        for (int r = 0; r < grid.rows(); ++r) {
            QStringList row;
            for (int c = 0; c < grid.cols(); ++c) row << grid.textMatrix(r, c);
            rows << row.join('\t');
        }
        return rows;
    }
    // What a reopened report must show again: every value list and ShowOthers.
    QStringList listsAndChoices() const {
        QStringList state;
        for (int i = 1; i <= session->aDims.upperBound(); ++i)
            state << session->aDims(i).FName + (session->aDims(i).ShowOthers ? " others: " : ": ") +
                         session->cmbField[static_cast<size_t>(i)].items.join('|');
        return state;
    }

    std::unique_ptr<session::Session> session;
    grid::GridModel grid;
    QImage clip{16, 16, QImage::Format_ARGB32};
    NoFixedReports printer;
};

TEST_F(SavedFilters, AFilteredSummarySavedAndOpenedAgainShowsTheSameFiltersAndGrid) {
    ASSERT_EQ(run(copySample("summary") + "DATA.DBF").outcome, RunOutcome::SummaryOpened);
    filter("MEDIA", {"TV", "RADIO"}, true);
    filter("BRAND", {"FILUMER TRAVEL", "MIVONA DETERGENT", "DELNOMI COLA"}, false);
    filter("MONTH", {"Jan", "Mar", "May", "Sep", "Oct"}, false);
    filter("CHANNEL", {"PORE TV", "RADIO DELBA", "KINO ŽAMI", "RADIO DANO"}, false);
    filter("LANGUAGE", {"CROATIAN"}, false);
    UpdatePageFilter(*session);
    ASSERT_TRUE(RefillReport(*session, {grid, measure, clip}));
    const QStringList lists = listsAndChoices();
    const QString pageFilter = session->sPageFilter, pageFilterText = session->sPageFilterText;
    const QStringList filtered = cells();
    ASSERT_EQ(pageFilter,
              " CHANNEL in('PORE TV','RADIO DELBA','KINO ŽAMI','RADIO DANO') AND LANGUAGE in('CROATIAN')");
    ASSERT_GT(grid.rows(), grid.fixedRows());
    ASSERT_EQ(grid.textMatrix(grid.fixedRows(), 1).trimmed(), "Others") << "Show Others folds the cinema in";

    const QString saved = temp.path() + "/Saved/Brands";
    ui.folders.push_back(saved);
    ASSERT_EQ(session::SaveReport(*session), session::SaveOutcome::Saved);
    ASSERT_TRUE(QFile::exists(saved + "/Brands.flt"));

    grid.clear();
    ASSERT_EQ(run(saved + "/Brands.str").outcome, RunOutcome::SummaryOpened);
    EXPECT_EQ(listsAndChoices(), lists);
    EXPECT_EQ(session->sPageFilter, pageFilter);
    EXPECT_EQ(session->sPageFilterText, pageFilterText);
    EXPECT_EQ(cells(), filtered);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
}

TEST_F(SavedFilters, AFilteredListingSavedAndOpenedAgainShowsTheSameRows) {
    ASSERT_EQ(run(copySample("detailed") + "Spot_Listing.dtr").outcome, RunOutcome::ListingOpened);
    const int allRows = grid.rows();
    filter("MEDIA", {"TV", "RADIO"}, false);
    filter("DURATION", {"20", "30"}, false);
    ASSERT_TRUE(RefillReport(*session, {grid, measure, clip}));
    const QStringList lists = listsAndChoices();
    const QStringList filtered = cells();
    // 883 TV and 444 radio spots of all durations: far fewer of 20 or 30 seconds.
    ASSERT_GT(grid.rows(), 1);
    ASSERT_LT(grid.rows(), allRows);

    const QString saved = temp.path() + "/Saved/Spots";
    ui.folders.push_back(saved);
    ASSERT_EQ(session::SaveReport(*session), session::SaveOutcome::Saved);
    ASSERT_TRUE(QFile::exists(saved + "/Spots.flt"));
    grid.clear();
    ASSERT_EQ(run(saved + "/Spots.dtr").outcome, RunOutcome::ListingOpened);
    EXPECT_EQ(listsAndChoices(), lists);
    EXPECT_EQ(cells(), filtered);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
}

TEST_F(SavedFilters, HostileValuesInAFilterFileNeverChangeWhatTheStatementMeans) {
    const QString folder = copySample("summary");
    const QString fltPath = folder + "Brand_Spends.flt";
    // The grids the plain values give.
    writeFile(fltPath, session::FilterFileText({{"CHANNEL", {"PORE TV"}, false},
                                                {"BRAND", {"FILUMER TRAVEL"}, false},
                                                {"MONTH", {"Mar"}, false}}));
    ASSERT_EQ(run(folder + "DATA.DBF").outcome, RunOutcome::SummaryOpened);
    const QStringList plain = cells();
    ASSERT_GT(grid.rows(), grid.fixedRows());
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();

    // The same values beside texts that would widen the statement if pasted into it.
    const QStringList pageHostile{"\") OR (1=1", "') OR ('1'='1", "x] OR [1]=[1", "O'Brien \"Live\" ]['"};
    writeFile(fltPath, session::FilterFileText({{"CHANNEL", QStringList{"PORE TV"} + pageHostile, false},
                                                {"BRAND", {"x') OR ('1'='1", "FILUMER TRAVEL", "\") OR (1=1"}, false},
                                                {"MONTH", {"Mar", "2) OR (1=1"}, false},
                                                {"MEDIA", {"\") OR (\"1\"=\"1"}, true}}));
    grid.clear();
    ASSERT_EQ(run(folder + "DATA.DBF").outcome, RunOutcome::SummaryOpened);
    EXPECT_EQ(cells(), plain);
    // The values no field can hold were left out, and said so once.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains("BRAND: \") OR (1=1\r\nMONTH: 2) OR (1=1\r\nMEDIA:"))
        << ui.messages[0].text.toStdString();
    // The page values stand in the filter as literals that match nothing.
    EXPECT_TRUE(session->sPageFilter.contains("'x] OR [1]=[1'")) << session->sPageFilter.toStdString();
    EXPECT_EQ(list("CHANNEL").items.mid(1), QStringList{"PORE TV"} + pageHostile);
}

TEST_F(SavedFilters, ADamagedFilterFileOpensTheReportWithoutFiltersAndSaysSoOnce) {
    const QString folder = copySample("summary");
    ASSERT_EQ(run(folder + "DATA.DBF").outcome, RunOutcome::SummaryOpened);
    const QStringList unfiltered = cells();
    writeFile(folder + "Brand_Spends.flt",
              "{\"format\": \"VantRep filters\", \"version\": 1, \"filters\": [{\"FName\"");
    grid.clear();
    ASSERT_EQ(run(folder + "DATA.DBF").outcome, RunOutcome::SummaryOpened);
    EXPECT_EQ(cells(), unfiltered);
    EXPECT_TRUE(session->sPageFilter.isEmpty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, session::MessageIcon::Exclamation);
    EXPECT_TRUE(ui.messages[0].text.contains("Brand_Spends.flt")) << ui.messages[0].text.toStdString();

    // The command line warns on standard error and still writes its file.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", temp.path() + "/tmp");
    program.setProcessEnvironment(env);
    const QString tsv = temp.path() + "/out.tsv";
    program.start(VANTREP_PROGRAM, {"--export", tsv, folder + "DATA.DBF"});
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains("Brand_Spends.flt\" cannot be read"));
    QFile written(tsv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()).split('\n', Qt::SkipEmptyParts),
              grid::GridAsText(grid, grid::TextLayout::Tsv).split('\n', Qt::SkipEmptyParts));
}

}  // namespace
}  // namespace vantrep::analysis
