// The report windows the chart window opens: the preview of a chart page and
// the title settings dialog on the chart's header and footer. The chart
// window's owner hands these to it.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>

#include "report/TitleHolder.h"

namespace vantrep::report::ui {

class frmPrint;
class frmTitleSettings;

// Prints the chart page of `chart` under `criteria` (carriage returns already
// turned into four spaces) in a report window over `mainWindow` and shows it
// modally; `show`, when given, shows it instead (tests).
void PreviewChart(const QImage& chart, const QString& criteria, QWidget* mainWindow,
                  const std::function<void(frmPrint&)>& show = {});

// The title settings dialog captioned "Header/Footer Settings", its entries
// "Header" and "Footer" bound to `header` and `footer`, shown modally over
// `parent` (or by `show`). True when confirmed; the holders then hold the
// edited texts and styles.
bool editChartHeaderFooter(TitleHolder& header, TitleHolder& footer, QWidget* parent,
                           const std::function<void(frmTitleSettings&)>& show = {});

}  // namespace vantrep::report::ui
