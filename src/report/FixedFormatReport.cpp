#include "report/FixedFormatReport.h"

#include <QVariant>

#include "engine/EngineError.h"
#include "grid/GridModel.h"
#include "report/ZeltLogo.h"
#include "session/Session.h"

namespace vantrep::report {

namespace {

const QString reportHeader = QStringLiteral("img;0,0|lbl;Quorvel;;;;0;;14;true;;;;;;16711680");

QString rule(int width, const QString& name = QString(), const QString& tail = QString()) {
    return QStringLiteral("lin;") + name + u';' + QString::number(width) + QStringLiteral(";;;2") + tail;
}

QString lines(std::initializer_list<QString> parts) {
    QStringList list;
    for (const QString& part : parts) list.append(part);
    return list.join(QStringLiteral("\r\n"));
}

// Content of 11400 twips centred on A4 portrait, and of 13350 twips on A4
// landscape, with the top and bottom margins the page header and footer
// print in: printing right at the paper's edge would cut them off.
void setReport1(BandedReport& r, const QString& reportName) {
    const QString rule1 = rule(11400);
    r.MarginTop = 720;
    r.MarginBottom = 720;
    r.MarginLeft = 253;
    r.MarginRight = 253;
    r.GroupCriteria = QStringLiteral("medianame,manufact,brand,subbrand,product,group");
    r.RHFormat = reportHeader;
    r.PHFormat = lines({
        QStringLiteral("lbl;Page :;610;;;;;;true|fun;pagecount;500;;;;;;true|lbl;S1 - Detailed Monthly Report in "
                       "Units;6000;;;7;;;true|fun;time;1300;;;;;;true|fun;date;2800;;;;;;true;;;;dddd, mmmm dd, yyyy"),
        QStringLiteral("lbl;Markets:;900;;;;;;true|lbl;") + reportName + QStringLiteral(" Spends in units;4000;;;;;;true"),
        rule1,
        QStringLiteral("lbl;BRAND;2000;;;;;;true|lbl;SUBBRAND;2000;;;;;;true|lbl;PRODUCT;2600;;;;;;true|lbl;GROUP;2000;;;;;;true"),
        QStringLiteral("lbl;Date;1000|lbl;Ad. Description;2600|lbl;Time(GMT)/Col;1500|lbl;Dur;650|lbl;Ln  "
                       "Ps/Ct/Bk;1300|lbl;US $;800;;;8|lbl;Program Details;1500"),
        rule1,
    });
    r.GHFormat = lines({
        QStringLiteral("lbl;Media;1200;;;;;;true|txt;medianame;5000;;;;;;true"),
        QStringLiteral("lbl;Manufacture;1200;;;;;;true|txt;manufact;5000;;;;;;true"),
        QStringLiteral("txt;brand;2000;;;;;;true|txt;subbrand;2000;;;;;;true|txt;product;2600;;;;;;true|txt;group;2000;;;;;;true"),
    });
    r.DetFormat = QStringLiteral(
        "txt;date;1500;;;;;;;;;;ddd dd/mm/yy|txt;ad_dest;2600|txt;pb;1000|txt;size_durn;700|txt;language;250;;1|fun;"
        "concat(pos,/,tolad,/,page_break);1000|txt;amt_usd;800;;;8|txt;main_type;3400");
    r.GFFormat = lines({
        QStringLiteral("lbl;Total Spots :;1200;;;;;;true|fun;count(Media);800;;;;;;true|lbl;Total USD "
                       ":;1080;;;;;;true|fun;sum(amt_usd);1200;;;;;;true|lbl;Total Space Units "
                       ":;1700;;;;;;true|fun;sum(space);1000;;;;;;true"),
        rule1,
    });
    r.RFFormat = rule1;
    r.ShowColumn = false;
}

void setReport2(BandedReport& r) {
    const QString rule2 = rule(13350);
    r.MarginTop = 720;
    r.MarginBottom = 720;
    r.MarginLeft = 1744;
    r.MarginRight = 1744;
    r.GroupCriteria = QStringLiteral("date,media_name*+prog_name+break");
    r.RHFormat = reportHeader;
    r.PHFormat = lines({
        QStringLiteral("lbl;Period;900;;;;;;true|txt;date;1200;;;;;;true"),
        QStringLiteral("lbl;Station;900;;;;;;true|txt;media_name;3000;;;;;;true"),
        QStringLiteral("lbl;Page :;610;;;;;;true|fun;pagecount;500;;;;;;true|lbl;T.V Program "
                       "Log;8000;;;7;;;true|fun;time;1300;;;;;;true|fun;date;3000;;;;;;true;;;;dddd, mmmm dd, yyyy"),
        rule2,
        QStringLiteral("lbl;.;100;50"),
        QStringLiteral("lbl;PROGRAM/BREAK/PRODUCT;3500;;;;;;true|lbl;BRAND/SUB BRAND;2000;;;;;;true|lbl;AD. "
                       "DESCRIPTION;3000;;;;;;true|lbl;TIME;1000;;;;;;true|lbl;AD.TYPE;1000;;;7;;;true|lbl;LANG.;1000;;;;;;"
                       "true|lbl;DUR.;800;;;8;;;true|lbl;USD;1100;;;8;;;true"),
        QStringLiteral("lbl;.;100;50"),
        rule2,
    });
    r.GHFormat = QStringLiteral(
        "+fun;concat(prog_name*, - ,typology*, [ ,timestart, - ,timeend, ], ,time_durn);10000;;;;;;true+lbl;;500|txt;"
        "break;5000;;;;;;;true");
    r.DetFormat = QStringLiteral(
        "lbl;;1000|txt;product;2500|txt;brand;2000|txt;addesc;3000|txt;timebrk;1000;;;;;;;;;;hh:mm:ss|txt;adtp;1000;;;7|"
        "txt;lang;1000|txt;reel_durn;800;;;8|txt;pricedoll;1100;;;8");
    const QString breaks = QStringLiteral(";2000;;;;;;true|fun;count(break);1000;;;6;;;true") +
                           QStringLiteral("|lbl;Total :;8000;;;;;;true|fun;sum(reel_durn);800;;;8;;;true") +
                           QStringLiteral("|fun;sum(pricedoll);1100;;;8;;;true");
    const QString level1 = lines({
        rule(13350, QStringLiteral("solidline1")),
        QStringLiteral("lbl;;500|lbl;Stationwise Breaks :") + breaks,
        rule(13350, QStringLiteral("solidline2"), QStringLiteral("*")),
    });
    const QString level2 = lines({
        QString(),
        rule(13350, QStringLiteral("dotline2"), QStringLiteral(";;;;;;;,2")),
        QStringLiteral("lbl;;500|lbl;Programwise Breaks :") + breaks,
        rule(13350, QStringLiteral("dotline2"), QStringLiteral(";;;;;;;,2*")),
    });
    r.GFFormat = level1 + u'+' + level2;
    r.RFFormat = lines({
        rule(13350, QStringLiteral("solidline1")),
        QStringLiteral("lbl;Total Breaks :;1500;;;;;;true|fun;count(break);1000;;;6;;;true") +
            QStringLiteral("|lbl;;9000;;;;;;true|fun;sum(reel_durn);800;;;8;;;true") +
            QStringLiteral("|fun;sum(pricedoll);1100;;;8;;;true"),
        rule(13350, QStringLiteral("solidline2")),
    });
    r.ShowColumn = false;
    r.SuppressZero = true;
    r.SuppressBlankLines = true;
}

}  // namespace

QString fixedReportQuery(int report, const QString& dataTable) {
    if (report == 1)
        return QStringLiteral("SELECT *, ") + QStringLiteral("IIf(time<>' ',Time,color) as Pb,") +
               QStringLiteral("IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor' Or "
                              "Medialevel='Cinema',Position,' ') as Pos,") +
               QStringLiteral("IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor'Or "
                              "Medialevel='Cinema',Total_Ads,' ') as TolAd,") +
               QStringLiteral("IIf(ad_type<>' ',Trim(ad_desc)+ '(' + Trim(ad_type)+')',ad_desc) as ad_dest,") +
               QStringLiteral("IIf(main_typo<>' ',Trim(Prog_name)+ ' '+'('+Trim(main_typo)+')',prog_name) as main_type ") +
               QStringLiteral("FROM [") + dataTable + QStringLiteral("] ") +
               QStringLiteral("ORDER BY medianame, manufact, brand, subbrand, product, group, date, time");
    return QStringLiteral("SELECT * ") + QStringLiteral("FROM [") + dataTable + QStringLiteral("] ") +
           QStringLiteral("ORDER BY date, media_name, timest, prog_name, timebrk");
}

std::unique_ptr<engine::Recordset> openFixedReportData(session::Session& session, int report) {
    auto data = std::make_unique<engine::Recordset>();
    data->Open(fixedReportQuery(report, session.sDataFile).toStdString(), session.cnData, engine::adOpenForwardOnly,
               engine::adLockReadOnly);
    return data;
}

void storeReportLogo(grid::GridModel& grid) {
    if (grid.rows() < 1) grid.setRows(1);
    if (grid.cols() < 1) grid.setCols(1);
    grid.setCellData(0, 0, QVariant::fromValue(ZeltLogo()));
}

void setFixedReportProperties(BandedReport& report, int number, const QString& reportName) {
    if (number == 1)
        setReport1(report, reportName);
    else
        setReport2(report);
}

bool printFixedFormatReport(session::Session& session, grid::GridModel& grid, print::PrintSurface& surface,
                            int report, const print::PrintFont& gridFont) {
    try {
        std::unique_ptr<engine::Recordset> data = openFixedReportData(session, report);
        storeReportLogo(grid);
        BandedReport banded(surface);
        banded.ReportGrid = &grid;
        banded.Data = data.get();
        banded.ReportFont = gridFont;
        setFixedReportProperties(banded, report, session.sReportName);
        banded.printReport();
        return surface.document().pageCount() > 0;
    } catch (const engine::EngineError&) {
        return false;
    }
}

}  // namespace vantrep::report
