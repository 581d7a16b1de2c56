// Paper sizes in twips. A print surface keeps its paper as a QPageSize, so a
// paper chosen in the system's print dialog can be taken as it is; the page
// set-up offers the common ones.
#pragma once

#include <QPageSize>
#include <QSizeF>

#include <vector>

namespace vantrep::print {

// The papers the page set-up offers, A4 (the default) first.
std::vector<QPageSize> offeredPapers();

// The portrait size of `paper` in whole twips, from its own definition (A4 is
// 11906 x 16838, Letter 12240 x 15840). An invalid paper gives A4.
QSizeF paperTwips(const QPageSize& paper);

}  // namespace vantrep::print
