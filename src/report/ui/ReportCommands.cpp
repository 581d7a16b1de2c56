#include "report/ui/ReportCommands.h"

#include "session/Criteria.h"
#include "engine/EngineError.h"
#include "report/FixedFormatReport.h"
#include "report/PreviewReport.h"
#include "report/ui/frmPrint.h"
#include "session/Session.h"

namespace vantrep::report::ui {

void PreviewReport(session::Session& session, const grid::GridModel& grid, const print::PrintFont& gridFont,
                   QWidget* mainWindow) {
    if (!canPreviewGrid(grid, session.sDataFile)) return;
    frmPrint window(mainWindow);
    loadGridPreview(window, session, grid, gridFont);
    window.exec();
}

void loadGridPreview(frmPrint& window, const session::Session& session, const grid::GridModel& grid,
                     const print::PrintFont& gridFont) {
    GridReport& report = window.gridReport();
    report.ReportGrid = &grid;
    report.GridFont = gridFont;
    report.ReportCriteria = previewCriteria(session::getCriteria(session.sPageFilterText, session.sReportTitle));
    report.MarginBottom = 720;
    report.MarginTop = 720;
    report.MarginLeft = 200;
    report.MarginRight = 200;
    window.load();
}

bool showFixedFormatReport(session::Session& session, grid::GridModel& grid, int report,
                           const print::PrintFont& gridFont, QWidget* mainWindow) {
    try {
        std::unique_ptr<engine::Recordset> data = openFixedReportData(session, report);
        storeReportLogo(grid);
        frmPrint window(mainWindow);
        window.report().ReportGrid = &grid;
        window.report().Data = data.get();
        window.report().ReportFont = gridFont;
        setFixedReportProperties(window.report(), report, session.sReportName);
        window.load();
        window.exec();
        return true;
    } catch (const engine::EngineError&) {
        // A fixed-format report that fails ends without a message.
        return false;
    }
}

}  // namespace vantrep::report::ui
