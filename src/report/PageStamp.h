// The page events every preview document gets: the page header prints in the
// main title's font, and the page footer carries the maker's name on the
// left, the product word in the centre and the date and page number on the
// right, in 9-point blue Times New Roman.
#pragma once

#include <QDate>
#include <QString>

#include "print/PrintSurface.h"
#include "report/TitleHolder.h"

namespace vantrep::report {

// The maker's name as the reports print it.
inline constexpr const char* makerName = "Quorvel";

// "Quorvel|Vant|dd-mm-yyyy    Page :n".
QString pageFooterText(const QDate& date, int page);

// Gives `surface` a 12-point bold header font to start from and sets its
// before-header and before-footer events; `title1`
// is read on every page and must outlive the surface's use of the events.
void installPageEvents(print::PrintSurface& surface, const TitleHolder& title1);

}  // namespace vantrep::report
