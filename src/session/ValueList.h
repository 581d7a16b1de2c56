// The value list of one report field (the model behind the main window's
// combo `cmbField(i)`): item 0 the field's caption, or "Filtered ..." once the
// user has filtered it; items 1.. its values in the form the user sees them;
// the tag names the reverse coding of month and weekday names.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include "engine/Connection.h"
#include "engine/Value.h"
#include "session/Ui.h"

namespace vantrep::session {

struct ValueList {
    QStringList items;
    QString tag;  // "", "MonthStrRev" or "WeekDayStrRev"

    // At least two items and item 0 beginning with "Filtered".
    bool filtered() const { return items.size() >= 2 && items[0].left(8) == "Filtered"; }
};

// A value read from the data in the form the list shows it: for numeric
// fields the month name of MONTH, the weekday name of WEEKDAY, "Others" for a
// zero DURATION, else the number with no format; other fields' values as the
// data gives them.
QString DisplayFormOf(const engine::Value& value, const QString& FName, const QString& FType,
                      const QLocale& locale = QLocale());

// Adds the distinct values of field FName of the data table to `list`
// ("SELECT DISTINCT FName FROM sDataFile ORDER BY 1"). A single value replaces
// the caption in item 0 and is followed by an empty item. An engine error ends
// the fill where it got to, is shown through `ui`, and false is returned.
bool FillCombo(ValueList& list, const QString& FName, const QString& FType, engine::Connection& connection,
               const QString& sDataFile, Ui& ui, const QLocale& locale = QLocale());

}  // namespace vantrep::session
