#include "report/ui/ChartCommands.h"

#include "report/ui/frmPrint.h"
#include "report/ui/frmTitleSettings.h"

namespace vantrep::report::ui {

void PreviewChart(const QImage& chart, const QString& criteria, QWidget* mainWindow,
                  const std::function<void(frmPrint&)>& show) {
    frmPrint window(mainWindow);
    GridReport& report = window.gridReport();
    report.ReportCriteria = criteria;
    report.MarginBottom = 720;
    report.MarginTop = 720;
    report.MarginLeft = 200;
    report.MarginRight = 200;
    window.RenderChart(chart);
    if (show)
        show(window);
    else
        window.exec();
}

bool editChartHeaderFooter(TitleHolder& header, TitleHolder& footer, QWidget* parent,
                           const std::function<void(frmTitleSettings&)>& show) {
    frmTitleSettings dialog(parent);
    dialog.Title1 = &header;
    dialog.Title2 = &footer;
    dialog.MainTitle = "Header";
    dialog.SubTitle = "Footer";
    dialog.ShowAlignment = false;
    dialog.setWindowTitle("Header/Footer Settings");
    if (show)
        show(dialog);
    else
        dialog.exec();
    return dialog.SaveTitle();
}

}  // namespace vantrep::report::ui
