// A font of the print surface (name, size in points, bold and the three style
// flags) and the 24-bit colour numbers of printed text and lines.
//
// A PrintFont becomes a QFont sized in pixels of one twip each, so that text
// laid out and painted in twip coordinates has the same metrics on every
// device: a PDF at 1440 dpi, a screen image scaled down, a printer.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace vantrep::print {

struct PrintFont {
    QString name = QStringLiteral("Times New Roman");
    double size = 10;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    // The font with its pixel size in twips (20 per point), unhinted.
    QFont toQFont() const;

    friend bool operator==(const PrintFont&, const PrintFont&) = default;
};

// A colour number with red in the low byte and blue in the high byte
// (16711680 is pure blue, 255 pure red, 0 black).
QColor colorFromCode(int code);

}  // namespace vantrep::print
