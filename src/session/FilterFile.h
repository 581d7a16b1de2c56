// The filters kept with a saved report or layout. A structure file has no
// place for them (other programs read it, so its columns stay as they are):
// they go into a filter file beside it, of the same base name with the
// extension ".flt" (".FLT" beside a structure whose extension is upper case,
// as "BRANDS.STR" and "BRANDS.FLT").
//
// The filter file is UTF-8 JSON a person can read:
//
//   {
//     "format": "VantRep filters",
//     "version": 1,
//     "filters": [
//       { "FName": "BRAND", "values": ["ACME", "ZENITH"], "ShowOthers": true },
//       { "FName": "CHANNEL", "values": ["Channel 4"], "ShowOthers": false }
//     ]
//   }
//
// one entry per filtered field, in field order: the field's name, the values
// the filter keeps in the user's order, as the value list shows them (month
// and weekday names, "Others"), and the "Show Others" choice. A report with
// no filtered field has no filter file.
#pragma once

#include <QByteArray>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <memory>

#include "session/Session.h"

namespace vantrep::session {

struct SavedFilter {
    QString FName;
    QStringList values;
    bool ShowOthers = false;
};

// The name a filter file beside `structurePath` is created with.
QString FilterFileNameFor(const QString& structurePath);

// The filter file beside `structurePath` as it is on disk, its name matched
// without regard to case; "" when there is none.
QString FilterFileOf(const QString& structurePath);

// The session's filtered fields (value list marked "Filtered" with at least
// one value), in aDims order.
QList<SavedFilter> FiltersOf(const Session& session);

// The filter file's text for `filters`.
QByteArray FilterFileText(const QList<SavedFilter>& filters);

// Reads a filter file's text. False, with `error` set, when it is not a
// filter file of this program (not JSON, another format or version, an entry
// without a field name or with values that are not texts); `filters` then
// holds nothing.
bool ParseFilterFile(const QByteArray& text, QList<SavedFilter>& filters, QString& error);

// Whether `value` can stand in the filter of field `field` of the open
// report: a numeric field's value is a number, or a month or weekday name
// of MONTH and WEEKDAY, or "Others" of DURATION and WEEKDAY; a row or column
// dimension's value passes the dimension value check of its role.
bool AcceptsFilterValue(const FieldDef& field, bool detailed, const QString& value);

// Puts `filters` into the session's value lists: each names its field by
// FName (a name the dictionary lacks is passed over); its accepted values
// become the list after "Filtered " and the caption, and its ShowOthers the
// field's. A value not in the data is kept: it matches nothing. Returns the
// values left out as "FNAME: value", in file order.
QStringList PutFilters(Session& session, const QList<SavedFilter>& filters);

// Reads the filter file beside the session's structure file into its value
// lists. A damaged or unreadable file leaves the lists as they are, and
// values left out are named; either is one warning through the session's Ui.
// The caller rebuilds the page filter from the lists.
void ReadFilterFile(Session& session);

// Writing the filter file that goes with a structure file being saved at
// `structureTarget`, in two steps around the structure's own write:
// prepare() writes the new filter file under a temporary name (nothing
// replaced yet); commit(), once the structure is in place, gives it its name,
// or, when no field is filtered, removes the filter file left there from
// before. Each returns "" when done, else the error's description. Dropped
// without commit(), it leaves the old filter file as it was.
class FilterFileWrite {
public:
    FilterFileWrite(const Session& session, const QString& structureTarget);
    FilterFileWrite(const FilterFileWrite&) = delete;
    FilterFileWrite& operator=(const FilterFileWrite&) = delete;

    QString prepare();
    QString commit();

private:
    const QList<SavedFilter> filters_;
    const QString structureTarget_;
    std::unique_ptr<QSaveFile> file_;
};

}  // namespace vantrep::session
