// The statement of a detailed listing: the displayed fields in their column
// order (and CLIPDET), the user's filters as IN lists, ordered by every
// displayed column.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "session/FieldDef.h"
#include "session/ValueList.h"

namespace vantrep::analysis {

// How a filter value is written: by the field's type as the engine reports it.
enum class ValueKind { Character, Date, Other };

// A character value as a literal the engine reads back as exactly that text:
// in single quotes, or, when it holds one, in double quotes or brackets, or,
// holding all three, as a join of quoted pieces.
QString CharacterLiteral(const QString& value);

// A value for a numeric field, trimmed: a plain number ("12", "-3.5") as it
// stands, any other text as a CharacterLiteral, so that no value is ever
// read as part of the statement.
QString NumberLiteral(const QString& value);

// A date shown as the locale's short date (or m/d/yyyy, or dd/mm/yyyy) as
// CTOD('mm/dd/yyyy'); a text that is no date is passed to CTOD as a literal.
QString DateLiteral(const QString& shown);

// The listing statement. `kindOf(FName)` tells the type of a filtered field
// (the program asks the engine with "SELECT FName FROM sDataFile WHERE 1=0").
// A date value is written by DateLiteral.
QString ListingStatement(const session::FieldList& aDims, const std::vector<session::ValueList>& cmbField,
                         bool bClipDet, const QString& sDataFile,
                         const std::function<ValueKind(const QString&)>& kindOf);

}  // namespace vantrep::analysis
