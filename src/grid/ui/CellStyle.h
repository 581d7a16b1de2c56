// How a grid cell's stored settings look on screen: the grid's 24-bit
// colours (red in the low byte, blue in the high byte) as QColor, alignment
// codes as Qt alignment flags, widths in twips as pixels.
#pragma once

#include <QColor>
#include <QString>
#include <Qt>

namespace vantrep::grid::ui {

inline QColor gridColor(int bgr) { return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff); }

// Codes 0..8 are left/centre/right by top/centre/bottom; 9 puts numbers
// right and other texts left, centred vertically.
Qt::Alignment cellAlignment(int code, const QString& text);

inline int twipsToPixels(int twips, double dpi) { return static_cast<int>(twips * dpi / 1440.0 + 0.5); }

}  // namespace vantrep::grid::ui
