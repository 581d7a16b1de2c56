// Building a banded report's group records from its group criteria, and
// turning the aggregates written in its bands into report variables.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "report/clsGroupFmt.h"
#include "report/clsVariables.h"

namespace vantrep::report {

// The comma-separated names of every "txt" item of a detail band, in order
// (all lines, all items; a trailing "*" of a name dropped).
QString detailFields(const QString& detailBand);

// The group records for `groupCriteria` ("date,media_name*+prog_name+break":
// levels outermost first, separated by "+"), innermost header and footer
// first, outermost last. No levels give no records.
std::vector<clsGroupFmt> buildGroups(const QString& groupCriteria, const QString& groupHeaders,
                                     const QString& groupFooters, const QString& detailBand);

// Replaces, in `band`, every aggregate ("sum(", "avg(", "count(", "min(",
// "max(" right after a ";", up to the next ";") by the name of a new variable
// with that calculation and the given criteria; the same aggregate written
// twice shares one variable. Returns the rewritten band.
QString replaceAggregates(const QString& band, clsVariables& variables, const QString& criteria,
                          const QString& nextLevelCriteria);

// Adds each group record's record counter (count(*)) and rewrites its band,
// in collection order.
void addGroupVariables(std::vector<clsGroupFmt>& groups, clsVariables& variables);

}  // namespace vantrep::report
