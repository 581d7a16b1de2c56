// The cross-tab's query state: the statements the query builder made from
// the layout, one per column group, and the texts the pivot needs to widen
// their grouped results. The session keeps it, so that the summary fill, the
// chart and the reports read the state of the last build, and a re-run after
// a layout or filter change starts from the session alone.
#pragma once

#include <QString>
#include <QStringList>

namespace vantrep::session {

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

}  // namespace vantrep::session
