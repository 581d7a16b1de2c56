// Value coding: month and weekday numbers to and from the names the grid
// shows, the check that a dimension value can travel through the cross-tab's
// text keys, and the alignment code of a title written with leading bars.
// None of these keep state; everything they need comes in as arguments.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include "engine/Connection.h"
#include "session/Ui.h"

namespace vantrep::session {

// The error number of a dimension value holding a character the cross-tab
// keys reserve (",", ";", ":", "|" or the double quote).
inline constexpr int errDimensionValue = static_cast<int>(0x80040201u);

// The abbreviated name of month n (1..12) in `locale` ("Jan" .. "Dec" in US
// English); "Others" for any other n.
QString MonthText(int n, const QLocale& locale = QLocale());

// The month number ("1" .. "12") of a month name in `locale`, short or long,
// matched without regard to case and surrounding blanks; "" when `s` names
// no month (so "Others" gives "").
QString MonthNumber(const QString& s, const QLocale& locale = QLocale());

// "Sun" .. "Sat" for n = 1 (Sunday) .. 7; "Others" for any other n.
QString WeekdayText(int n);

// The reverse of WeekdayText, matched exactly (case matters): "Sun" gives
// "1" .. "Sat" "7", "Others" gives "8", anything else "".
QString WeekdayNumber(const QString& s);

// Throws EngineError(errDimensionValue, two-line description) when `s`
// cannot be a value of a dimension with role `role` ("C" column, anything
// else row). Column values may not hold "," ";" ":" "|" or a double quote,
// row values no double quote; the first reserved character found in that
// order is the one named.
void RequireDimensionValue(const QString& s, const QString& role);

// RequireDimensionValue, with its description shown to the user in a plain
// message box (no icon, OK). Returns false when the value was refused.
bool CheckDimensionValue(const QString& s, const QString& role, Ui& ui);

// Checks the values of one dimension field with CheckDimensionValue and stops
// at the first refused value. `values` is the field's value list: item 0 the
// caption, or "Filtered ..." for a filtered field, whose items 1.. are then
// checked. An unfiltered column dimension ("C") is checked against every
// value of "SELECT DISTINCT <fieldName> FROM <dataFile>" on `connection`; an
// unfiltered row dimension is not checked. Returns false when a value was
// refused. A failing query throws EngineError to the caller.
bool CheckDimensionValues(const QStringList& values, const QString& fieldName, const QString& role,
                          engine::Connection& connection, const QString& dataFile, Ui& ui);

// The print surface alignment of a title by its leading bars: 8 (right
// middle) for "||" followed by text, 7 (centre middle) for one "|" followed
// by text, 6 (left middle) for "", exactly "||" and any other text.
int AlignFromBars(const QString& text);

}  // namespace vantrep::session
