// The chart page: the report criteria as a paragraph, then the chart picture
// below it, scaled to the rest of the printable area with its proportions
// kept. The picture is handed over as an image; the user's clipboard is
// never used.
#pragma once

#include <QImage>
#include <QString>

#include "print/PrintSurface.h"

namespace vantrep::report {

// Prints one chart page on `surface` within the page the caller set up (the
// report window: portrait unless the user chose otherwise): `criteria` in
// `font` (a run of four spaces stands for a line break, as callers pass the
// criteria), then `chart`. The caller shows the busy pointer.
void printChartPage(print::PrintSurface& surface, const QString& criteria, const QImage& chart,
                    const print::PrintFont& font);

// The criteria paragraph's lines: every run of four spaces becomes a line
// break.
QStringList chartCriteriaLines(const QString& criteria);

}  // namespace vantrep::report
