// Counts and sums computed by another program (Python's dbfread) over the
// records of a table, keyed by the values of some fields, to compare the
// program's grids with.
#pragma once

#include <QMap>
#include <QProcess>
#include <QStringList>

namespace vantrep::testing {

// Over the records that pass `condition` (a Python expression on the
// record's fields, such as "MONTH in (3, 11)"; "True" for all): key
// "value|value|..." (each value of `keys` as Python writes it, trimmed) ->
// the record count followed by one sum per field of `values`.
inline QMap<QString, QList<double>> FilteredSums(const QString& table, const QString& condition,
                                                 const QStringList& keys, const QStringList& values) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import dbfread,sys\n"
                  "keys=sys.argv[3].split(','); values=sys.argv[4].split(',')\n"
                  "t={}\n"
                  "for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):\n"
                  "  if not eval(sys.argv[2], {}, dict(r)): continue\n"
                  "  k='|'.join(str(r[f]).strip() for f in keys)\n"
                  "  s=t.setdefault(k,[0.0]*(len(values)+1))\n"
                  "  s[0]+=1\n"
                  "  for i,v in enumerate(values): s[i+1]+=float(r[v])\n"
                  "for k,s in t.items(): print(k+'\\t'+'\\t'.join(repr(x) for x in s))\n",
                  table, condition, keys.join(','), values.join(',')});
    python.waitForFinished(60000);
    QMap<QString, QList<double>> sums;
    for (const QString& line : QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split('\t');
        QList<double> sum;
        for (int i = 1; i < parts.size(); ++i) sum << parts[i].toDouble();
        sums[parts[0]] = sum;
    }
    return sums;
}

// Over every record: key as above -> one sum per field of `values`.
inline QMap<QString, QList<double>> SumsBy(const QString& table, const QStringList& keys, const QStringList& values) {
    QMap<QString, QList<double>> sums = FilteredSums(table, "True", keys, values);
    for (QList<double>& sum : sums) sum.removeFirst();
    return sums;
}

}  // namespace vantrep::testing
