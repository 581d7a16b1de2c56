// The separators of the band language and the way band strings are cut:
// group levels at "+", lines at CR LF, items at "|", fields at ";". Cutting
// an empty text gives no pieces at all, so an empty band has no lines and an
// empty line has no items.
#pragma once

#include <QString>
#include <QStringList>

namespace vantrep::report {

inline const QString levelSeparator = QStringLiteral("+");
inline const QString lineSeparator = QStringLiteral("\r\n");
inline const QString itemSeparator = QStringLiteral("|");
inline const QString fieldSeparator = QStringLiteral(";");

// `text` cut at every `separator`; empty pieces are kept, but an empty text
// gives an empty list.
QStringList cutText(const QString& text, const QString& separator);

// Piece `level` (0-based) of a group band string; "" when there is none.
QString levelPiece(const QString& groupBand, int level);

// The leading numeric value of a text: blanks first are skipped, then an
// optional sign, digits, a decimal part and an exponent are read; a text
// that does not start with a number gives 0.
double leadingNumber(const QString& text);

// A Boolean text: "true" or "false" in any case, or a number (0 is false).
// Anything else is false.
bool flagValue(const QString& text);

}  // namespace vantrep::report
