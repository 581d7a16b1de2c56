// The logo the fixed-format reports print in their report header ("ZeltLogo"):
// the program's own small artwork, a blue tent on a horizon, painted here.
#pragma once

#include <QImage>

namespace vantrep::report {

// The logo at 96 dpi (120 x 48 pixels, 1800 x 720 twips).
QImage ZeltLogo();

}  // namespace vantrep::report
