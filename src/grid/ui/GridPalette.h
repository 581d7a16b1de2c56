// The grid's own colours on screen: headings, lines, the fixed column.
#pragma once

#include <QColor>

namespace vantrep::grid::ui {

struct GridPalette {
    static QColor heading() { return QColor(0xe9, 0xed, 0xf2); }
    static QColor headingLine() { return QColor(0xb8, 0xc0, 0xcc); }
    static QColor headingText() { return QColor(0x1f, 0x2a, 0x37); }
    static QColor cellLine() { return QColor(0xdd, 0xe1, 0xe6); }
    static QColor frozenEdge() { return QColor(0x9a, 0xa5, 0xb4); }
    static QColor cell() { return QColor(0xff, 0xff, 0xff); }
    static QColor cellText() { return QColor(0x10, 0x10, 0x10); }
};

}  // namespace vantrep::grid::ui
