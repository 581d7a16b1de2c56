#include "analysis/QueryBuilder.h"

#include "analysis/ListingQuery.h"
#include "session/ValueCoding.h"

namespace vantrep::analysis {

namespace {

using session::FieldDef;
using session::ValueList;

const QChar quote('"');

QString roleOf(const FieldDef& f) { return f.Layout.trimmed(); }
bool isCharacter(const FieldDef& f) { return f.FType.trimmed() == "C"; }
bool bucketed(const FieldDef& f, const ValueList& list) { return list.filtered() && f.ShowOthers; }

// A shown value of a numeric dimension as the number the data stores: month
// and weekday names through their reverse coding, the "Others" of a duration
// as 0 (the value that shows as "Others").
QString storedNumber(const FieldDef& f, const ValueList& list, const QString& item) {
    QString value = item.trimmed();
    if (list.tag == "MonthStrRev") return session::MonthNumber(value);
    if (list.tag == "WeekDayStrRev") return session::WeekdayNumber(value);
    if (f.FName == "DURATION" && value == "Others") return "0";
    return value;
}

// A kept value as an SQL literal: a character value in double quotes (one
// holding a double quote, which no checked dimension value does, as the
// engine's other literals), a number bare; whatever a filter holds, it is
// never read as part of the statement.
QString literalOf(const FieldDef& f, const ValueList& list, const QString& item) {
    if (!isCharacter(f)) return NumberLiteral(storedNumber(f, list, item));
    const QString value = item.trimmed();
    return value.contains(quote) ? CharacterLiteral(value) : quote + value + quote;
}

// The values a filter keeps, as SQL literals separated by ",".
QString selectedValues(const FieldDef& f, const ValueList& list) {
    QStringList values;
    for (int j = 1; j < list.items.size(); ++j) values << literalOf(f, list, list.items[j]);
    return values.join(',');
}

// The bucket value of a character field: "Others" padded to the field's width.
QString othersOf(const FieldDef& f) {
    QString others = "Others";
    if (f.FLen > 6) others += QString(f.FLen - 6, ' ');
    return others;
}

// The key values of one column level for the pivot: character values in
// single quotes, numbers bare, a bucket's value last and marked with "*".
QString levelSpec(const FieldDef& f, const ValueList& list) {
    QStringList keys;
    QStringList items = list.items.mid(1);
    // A field with a single value holds it in item 0, followed by an empty item.
    if (!list.filtered() && items.size() == 1 && items[0].isEmpty()) items = QStringList{list.items[0]};
    for (const QString& item : items)
        keys << (isCharacter(f) ? "'" + item.trimmed() + "'" : storedNumber(f, list, item));
    if (bucketed(f, list)) keys << (isCharacter(f) ? "*'" + othersOf(f) + "'" : QString("*0"));
    return f.FName + ":" + keys.join(',');
}

}  // namespace

QString SelectTerm(const FieldDef& f, const ValueList& list) {
    if (!bucketed(f, list)) return f.FName + ", ";
    if (isCharacter(f))
        return "IIF(INLIST(ALLTRIM(" + f.FName + ")," + selectedValues(f, list) + ")," + f.FName + "," + quote +
               othersOf(f) + quote + ") AS " + f.FName + ", ";
    return "IIF(INLIST(" + f.FName + "," + selectedValues(f, list) + ")," + f.FName + "," + QString(f.FLen, '0') +
           ") AS " + f.FName + ", ";
}

CrossTabQuery RunQuery(const session::FieldList& aDims, const std::vector<ValueList>& cmbField,
                       const session::FieldList& aVars, const QString& sPageFilter, const QString& sDataFile) {
    CrossTabQuery q;
    auto listOf = [&](int i) -> const ValueList& { return cmbField.at(static_cast<size_t>(i)); };
    const int n = aDims.upperBound();

    // Row dimensions, level by level.
    QString rowPrefix = "select ";
    QStringList rowFields;
    for (int level = 1;; ++level) {
        bool found = false;
        for (int i = 1; i <= n; ++i) {
            if (roleOf(aDims(i)) != "R" || aDims(i).Level != level) continue;
            found = true;
            rowPrefix += SelectTerm(aDims(i), listOf(i));
            ++q.nRowDims;
            rowFields << aDims(i).FName;
        }
        if (!found) break;
    }
    q.sRowFields = rowFields.join(';');

    // One statement per column group, headed by its level-1 column dimension;
    // the groups are numbered 0, 2, 3 ... in that field's FDec.
    std::vector<int> groupHeads;
    for (;;) {
        int group = q.aQuerySql.size() == 1 ? 0 : static_cast<int>(q.aQuerySql.size());
        int head = 0;
        for (int i = 1; i <= n && head == 0; ++i)
            if (roleOf(aDims(i)) == "C" && aDims(i).Level == 1 && aDims(i).FDec == group) head = i;
        if (head == 0) break;
        QString s = rowPrefix + SelectTerm(aDims(head), listOf(head));
        for (int i = 1; i <= n; ++i)
            if (roleOf(aDims(i)) == "C" && aDims(i).Level > 1) s += SelectTerm(aDims(i), listOf(i));
        q.aQuerySql << s;
        groupHeads.push_back(head);
    }

    for (int level = 1;; ++level) {
        bool found = false;
        for (int i = 1; i <= n && !found; ++i) found = roleOf(aDims(i)) == "C" && aDims(i).Level == level;
        if (!found) break;
        ++q.nColDims;
    }

    QStringList groups;
    for (int k = 1; k <= q.nRowDims + q.nColDims; ++k) groups << QString::number(k);
    const QString g = groups.join(" ,");

    // Column specifications and captions: the group's head, then its nested
    // levels in level order.
    if (q.nColDims >= 1) {
        for (int head : groupHeads) {
            QStringList levels{levelSpec(aDims(head), listOf(head))};
            QStringList captions{aDims(head).FDesc};
            for (int level = 2; level <= q.nColDims; ++level)
                for (int i = 1; i <= n; ++i)
                    if (roleOf(aDims(i)) == "C" && aDims(i).Level == level) {
                        levels << levelSpec(aDims(i), listOf(i));
                        captions << aDims(i).FDesc;
                    }
            q.aColSpecs << levels.join(';');
            q.aColCaptions << captions.join(", ");
        }
    }

    QString measures;
    for (int v = 1; v <= aVars.upperBound() && aVars(v).Level != 0; ++v)
        measures += (v == 1 ? "" : ",") + QString(" ROUND(SUM(") + aVars(v).FName + ")," +
                    QString::number(aVars(v).FDec) + ") AS " + aVars(v).FName;

    for (int k = 1; k < q.aQuerySql.size(); ++k) {
        QString& s = q.aQuerySql[k];
        s += measures + " from " + sDataFile + " WHERE 1=1 ";
        if (!sPageFilter.isEmpty()) s += " AND " + sPageFilter;
        for (int i = 1; i <= n; ++i) {
            const FieldDef& f = aDims(i);
            const ValueList& list = listOf(i);
            if ((roleOf(f) != "R" && roleOf(f) != "C") || !list.filtered() || f.ShowOthers) continue;
            if (isCharacter(f))
                s += " AND INLIST(ALLTRIM(" + f.FName + ")," + selectedValues(f, list) + ")";
            else
                s += " AND INLIST(" + f.FName + "," + selectedValues(f, list) + ")";
        }
        if (!g.isEmpty()) s += " group by " + g + " order by " + g;
    }
    return q;
}

void RunQuery(session::Session& s) {
    s.crossTab = RunQuery(s.aDims, s.cmbField, s.aVars, s.sPageFilter, s.sDataFile);
}

}  // namespace vantrep::analysis
