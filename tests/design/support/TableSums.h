// Sums computed by another program (Python's dbfread) over a table, keyed by
// the values of any fields, numbers among them, to compare the grids with.
#pragma once

#include <QMap>
#include <QProcess>
#include <QStringList>

namespace vantrep::design::testing {

// Key "value|value|...|across value" (each value as Python writes it,
// trimmed) -> one sum per variable, over the records of `table`.
inline QMap<QString, QList<double>> TableSums(const QString& table, const QStringList& rows, const QString& across,
                                              const QStringList& values) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import dbfread,sys\n"
                  "keys=sys.argv[2].split(',')+[sys.argv[3]]; values=sys.argv[4].split(',')\n"
                  "t={}\n"
                  "for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):\n"
                  "  k='|'.join(str(r[f]).strip() for f in keys)\n"
                  "  s=t.setdefault(k,[0.0]*len(values))\n"
                  "  for i,v in enumerate(values): s[i]+=float(r[v])\n"
                  "for k,s in t.items(): print(k+'\\t'+'\\t'.join(repr(x) for x in s))\n",
                  table, rows.join(','), across, values.join(',')});
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

}  // namespace vantrep::design::testing
