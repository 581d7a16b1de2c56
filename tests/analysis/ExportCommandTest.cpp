// `vantrep --export` run as a user runs it, on the shipped samples.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace vantrep::analysis {
namespace {

struct ProgramRun { int status; QString err; };

const QString samples = VANTREP_SAMPLES_DIR;

ProgramRun runProgram(const QStringList& args, const QString& tmp) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", tmp);
    p.setProcessEnvironment(env);
    p.start(VANTREP_PROGRAM, args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

TEST(ExportCommand, WritesTheSummaryAndTheListing) {
    QTemporaryDir dir;
    ProgramRun summary = runProgram({"--export", dir.path() + "/s.tsv", samples + "/summary/DATA.DBF"}, dir.path());
    ASSERT_EQ(summary.status, 0) << summary.err.toStdString();
    EXPECT_TRUE(summary.err.isEmpty()) << summary.err.toStdString();
    QFile s(dir.path() + "/s.tsv");
    ASSERT_TRUE(s.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(s.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("\tMedia\tBrand\tJan\t"));

    ProgramRun listing =
        runProgram({"--export", dir.path() + "/l.csv", samples + "/detailed/Spot_Listing.dtr"}, dir.path());
    ASSERT_EQ(listing.status, 0) << listing.err.toStdString();
    QFile l(dir.path() + "/l.csv");
    ASSERT_TRUE(l.open(QIODevice::ReadOnly));
    QString header = QString::fromUtf8(l.readLine());
    EXPECT_TRUE(header.startsWith(",Media,Channel,Date,Time,Brand")) << header.toStdString();
    EXPECT_FALSE(header.contains("CLIPDET"));  // the hidden column is left out
}

TEST(ExportCommand, FailuresEndWithAStatusAndAMessage) {
    QTemporaryDir dir;
    ProgramRun bare = runProgram({"--export", dir.path() + "/x.tsv", "DATA.DBF"}, dir.path());
    EXPECT_EQ(bare.status, 1);
    EXPECT_TRUE(bare.err.contains("Unauthorized execution. Can't continue!"));
    EXPECT_EQ(runProgram({"--export", dir.path() + "/x.xyz", samples + "/summary/DATA.DBF"}, dir.path()).status, 2);
    EXPECT_FALSE(QFile::exists(dir.path() + "/x.tsv"));
    EXPECT_EQ(runProgram({}, dir.path()).status, 2);  // no arguments
}

}  // namespace
}  // namespace vantrep::analysis
