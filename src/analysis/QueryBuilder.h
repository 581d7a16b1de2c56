// The cross-tab query builder (`RunQuery`): turns the layout of a summary
// report (the field list, the variables, the value lists and their filters,
// the page filter) into the statements that feed the cross-tab, one per
// column group, and the texts the pivot needs to widen their grouped results.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "session/FieldDef.h"
#include "session/ValueList.h"

namespace vantrep::analysis {

struct CrossTabQuery {
    QStringList aQuerySql{QString()};     // the statements from index 1; slot 0 stays empty
    int nRowDims = 0;                     // row dimensions placed
    int nColDims = 0;                     // column levels 1, 2, 3 ... held by a "C" field
    QString sRowFields;                   // the row dimensions' FNames in level order, joined by ";"
    // Per statement (from 1): its column specification, the column levels in
    // order separated by ";", each "FNAME:key,key,...": character keys in
    // single quotes, numbers bare, a bucket's key last with a "*" in front
    // ("MONTH:1,2;MEDIA:'TV',*'Others    '"). Column values never hold , ; : |
    // or a double quote (they are checked when a report opens).
    QStringList aColSpecs{QString()};
    QStringList aColCaptions{QString()};  // per statement (from 1): its column captions joined by ", "
};

// The select term of dimension aDims(i) (a "C" bucket keeps the selected
// values and folds the others into "Others", a numeric one into zero; an
// unfiltered or restricting dimension is its bare name), ending in ", ".
QString SelectTerm(const session::FieldDef& field, const session::ValueList& values);

// `RunQuery`. `cmbField[i]` is the value list of aDims(i); `sPageFilter` the
// page condition ("" when none). Sends nothing to the data engine.
CrossTabQuery RunQuery(const session::FieldList& aDims, const std::vector<session::ValueList>& cmbField,
                       const session::FieldList& aVars, const QString& sPageFilter, const QString& sDataFile);

}  // namespace vantrep::analysis
