// The page filter: the condition the cross-tab query appends for the page
// fields that carry a filter, and the same condition in captions for the
// criteria text and the spreadsheet export.
#pragma once

#include <QString>
#include <vector>

#include "session/FieldDef.h"
#include "session/Session.h"
#include "session/ValueList.h"

namespace vantrep::analysis {

struct PageFilter {
    QString sPageFilter;      // " MEDIA in('A','B') AND MONTH in(2)"; "" when no page field is filtered
    QString sPageFilterText;  // " Media in('A','B') AND Month in('Feb')"
};

// `BuildPageFilter`: for every "P" field whose value list is filtered, in
// field order, its selected values as an IN list. Character values are
// literals the data engine reads back as the same text, whatever quotes they
// hold, and dates are dates; MONTH and WEEKDAY names become their numbers
// ("Others" of WEEKDAY is 8), a DURATION of "Others" is 0; other values stand bare when they are
// numbers and are quoted otherwise. A value with no number (a MONTH of
// "Others") is left out, and a field left with no value adds no condition.
PageFilter BuildPageFilter(const session::FieldList& aDims, const std::vector<session::ValueList>& cmbField);

// The session's page filter (`sPageFilter`, `sPageFilterText`) built again
// from its value lists.
void UpdatePageFilter(session::Session& session);

}  // namespace vantrep::analysis
