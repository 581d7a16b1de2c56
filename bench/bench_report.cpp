// bench_report [--rows N] [--keep DIR]: times the banded report engine on a
// generated advertising table of N records (100,000 by default) printed in
// the style of the program log: three group levels (medium with a new page
// after each, channel, advertiser), totals in every group footer, page
// headers and footers. Prints the time to build the document and the time
// to write it as PDF beside their targets, and the page count. With --keep
// the table and the PDF stay in DIR (to look at the pages).
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/AdTableGenerator.h"
#include "engine/Connection.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "print/PdfWriter.h"
#include "print/PrintSurface.h"
#include "report/BandedReport.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace vantrep;

constexpr double documentTargetMs = 3000;
constexpr double pdfTargetMs = 8000;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void setUpLog(report::BandedReport& log) {
    const QString rule = QStringLiteral("lin;;10800;;;2");
    log.MarginLeft = 540;
    log.MarginRight = 540;
    log.MarginTop = 720;
    log.MarginBottom = 720;
    log.GroupCriteria = QStringLiteral("media*+channel+advertiser");
    log.RHFormat = QStringLiteral("lbl;Quorvel;;;;0;;14;true;;;;;;16711680");
    log.PHFormat = QStringLiteral(
                       "lbl;Page :;610;;;;;;true|fun;pagecount;500;;;;;;true|lbl;Advertising Log;5200;;;7;;;true|"
                       "fun;time;1300;;;;;;true|fun;date;3000;;;;;;true;;;;dddd, mmmm dd, yyyy\r\n") +
                   rule +
                   QStringLiteral("\r\nlbl;.;100;50\r\n"
                                  "lbl;MEDIA/CHANNEL/ADVERTISER/BRAND;4800;;;;;;true|lbl;DATE;1200;;;;;;true|"
                                  "lbl;DUR.;800;;;8;;;true|lbl;SPOTS;800;;;8;;;true|lbl;USD;1500;;;8;;;true\r\n") +
                   rule;
    log.GHFormat = QStringLiteral(
        "lbl;Medium :;1000;;;;;;true|txt;media*;4000;;;;;;true"
        "+lbl;;300|txt;channel;5000;;;;;;true"
        "+lbl;;600|txt;advertiser;5000;;;;;;;true");
    log.DetFormat = QStringLiteral(
        "lbl;;900|txt;brand;3900|txt;date;1200;;;;;;;;;;dd/mm/yy|txt;duration;800;;;8|txt;spots;800;;;8|"
        "txt;spend;1500;;;8;;;;;;;#,##0.00");
    log.GFFormat = rule + QStringLiteral(
                              "\r\nlbl;;300|lbl;Medium spots :;2000;;;;;;true|fun;sum(spots);1000;;;8;;;true|"
                              "lbl;Total :;3600;;;;;;true|fun;sum(spend);1500;;;8;;;true;;;;#,##0.00*"
                              "+\r\nlbl;;300|lbl;Channel records :;2000;;;;;;true|fun;count(brand);1000;;;8;;;true|"
                              "lbl;Total :;3600;;;;;;true|fun;sum(spend);1500;;;8;;;true;;;;#,##0.00\r\n") +
                   QStringLiteral("lin;;10800;;;2;;;;;;;,2*") +
                   QStringLiteral("+lbl;;600|lbl;Advertiser spots :;2000;;;;;;;true|fun;sum(spots);1000;;;8|"
                                  "lbl;Average spend :;3300;;;;;;;true|fun;avg(spend);1500;;;8;;;;;;;#,##0.00");
    log.PFFormat = QStringLiteral("lbl;;8000|lbl;Page spend :;1200|fun;sum(spend);1600;;;8;;;;;;;#,##0.00");
    log.RFFormat = rule + QStringLiteral(
                              "\r\nlbl;Total records :;2000;;;;;;true|fun;count(brand);1000;;;8;;;true|"
                              "lbl;;3900|fun;sum(spend);1500;;;8;;;true;;;;#,##0.00\r\n") +
                   rule;
    log.SuppressZero = true;
    log.SuppressBlankLines = true;
}

int runBenchmark(uint64_t rows, const QString& folder) {
    std::string table = (folder + QStringLiteral("/ADS.DBF")).toStdString();
    Clock::time_point start = Clock::now();
    bench::writeAdTable(table, rows, 1);
    std::printf("table: %llu records written in %.0f ms\n", static_cast<unsigned long long>(rows), msSince(start));

    engine::Connection connection;
    connection.Open("SourceDB=" + folder.toStdString() + "/;SourceType=DBF;");
    engine::Recordset data;
    start = Clock::now();
    data.Open("SELECT * FROM ADS ORDER BY MEDIA, CHANNEL, ADVERTISER, BRAND, DATE", connection);
    std::printf("query: %.0f ms\n", msSince(start));

    print::PrintSurface surface;
    surface.setBeforeFooter([&surface] {
        surface.footer().text = QStringLiteral("Quorvel|Vant|Page :%1").arg(surface.page());
    });
    report::BandedReport log(surface);
    log.Data = &data;
    setUpLog(log);
    start = Clock::now();
    log.printReport();
    double documentMs = msSince(start);
    std::printf("document: %.0f ms (target <= %.0f)\n", documentMs, documentTargetMs);
    std::printf("pages: %d\n", surface.document().pageCount());

    QString pdf = folder + QStringLiteral("/log.pdf");
    start = Clock::now();
    bool written = print::writePdf(surface.document(), pdf, QStringLiteral("Advertising Log"));
    double pdfMs = msSince(start);
    std::printf("pdf: %.0f ms (target <= %.0f)%s, %.1f MB\n", pdfMs, pdfTargetMs, written ? "" : " NOT WRITTEN",
                QFileInfo(pdf).size() / 1e6);
    return written && documentMs <= documentTargetMs && pdfMs <= pdfTargetMs ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    uint64_t rows = 100000;
    QString keep;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--rows") rows = std::strtoull(argv[i + 1], nullptr, 10);
        if (option == "--keep") keep = QString::fromLocal8Bit(argv[i + 1]);
    }
    try {
        if (!keep.isEmpty()) {
            QDir().mkpath(keep);
            return runBenchmark(rows, QDir(keep).absolutePath());
        }
        QTemporaryDir temp;
        return runBenchmark(rows, temp.path());
    } catch (const engine::EngineError& error) {
        std::fprintf(stderr, "bench_report: %s\n", error.what());
        return 2;
    }
}
