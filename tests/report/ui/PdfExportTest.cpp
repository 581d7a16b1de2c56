// `vantrep --export OUT.pdf` on the shipped samples, read back with pdftotext.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/PdfText.h"

namespace {

struct Exported {
    int status = -1;
    QString err;
    QString text;  // pdftotext -layout of the PDF
    int pages = 0;
};

Exported exportPdf(const QString& argument) {
    QTemporaryDir dir;
    const QString out = dir.path() + "/report.pdf";
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", dir.path());
    program.setProcessEnvironment(env);
    program.start(VANTREP_PROGRAM, {"--export", out, argument});
    program.waitForFinished(180000);
    Exported result;
    result.status = program.exitCode();
    result.err = QString::fromUtf8(program.readAllStandardError());
    if (!QFile::exists(out)) return result;
    result.text = vantrep::testing::pdfText(out);
    result.pages = result.text.count(u'\f');
    return result;
}

TEST(PdfExport, GridReportOfTheSummarySample) {
    Exported pdf = exportPdf(VANTREP_SAMPLES_DIR "/summary/DATA.DBF");
    ASSERT_EQ(pdf.status, 0) << pdf.err.toStdString();
    EXPECT_GT(pdf.pages, 10);
    EXPECT_TRUE(pdf.text.contains(QRegularExpression("CINEMA - BAGRABA TELECOM\\s+\\.25")));
    EXPECT_TRUE(pdf.text.contains("Media - Brand/X"));
    EXPECT_TRUE(pdf.text.contains("Quorvel"));
    EXPECT_TRUE(pdf.text.contains(QRegularExpression("\\d\\d-\\d\\d-\\d{4}\\s+Page :12")));
}

TEST(PdfExport, FixedFormatReportsOfTheDetailedSample) {
    Exported first = exportPdf(VANTREP_SAMPLES_DIR "/detailed/DATA.DBF,1");
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_TRUE(first.text.contains("S1 - Detailed Monthly Report in Units"));
    EXPECT_TRUE(first.text.contains("Total Spots :"));
    EXPECT_TRUE(first.text.contains(QRegularExpression("Total Spots :\\s+\\d+\\s+Total USD :")));
    Exported second = exportPdf(VANTREP_SAMPLES_DIR "/detailed/DATA.DBF,2");
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_TRUE(second.text.contains("T.V Program Log"));
    EXPECT_TRUE(second.text.contains("Stationwise Breaks :"));
    EXPECT_TRUE(second.text.contains("Total Breaks :"));
    EXPECT_GT(second.pages, 2);
}

}  // namespace
