// Changes records of a table with another program (Python's dbf), so that a
// test can put values into a sample that the sample does not hold.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace vantrep::design::testing {

// Sets field `field` of every record whose 0-based number is a multiple of
// `every` to `value` (a number when `number`, else text); returns how many
// records changed, -1 when Python failed.
inline int EditEvery(const QString& table, const QString& field, int every, const QString& value,
                     bool number = false) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import dbf,sys\n"
                  "t=dbf.Table(sys.argv[1]); t.open(dbf.READ_WRITE)\n"
                  "v=int(sys.argv[4]) if sys.argv[5]=='1' else sys.argv[4]\n"
                  "n=0\n"
                  "for i,r in enumerate(t):\n"
                  "  if i%int(sys.argv[3])==0: dbf.write(r, **{sys.argv[2]: v}); n+=1\n"
                  "t.close(); print(n)\n",
                  table, field.toLower(), QString::number(every), value, number ? "1" : "0"});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        ADD_FAILURE() << python.readAllStandardError().toStdString();
        return -1;
    }
    return python.readAllStandardOutput().trimmed().toInt();
}

// Sets column `column` of the structure file's row of field `fieldName` to
// `value` (a number when `number`); false when Python failed.
inline bool EditStructure(const QString& structure, const QString& fieldName, const QString& column,
                          const QString& value, bool number = false) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import dbf,os,sys\n"
                  "p=sys.argv[1]+'.dbf'; os.rename(sys.argv[1], p)\n"
                  "t=dbf.Table(p); t.open(dbf.READ_WRITE)\n"
                  "v=int(sys.argv[4]) if sys.argv[5]=='1' else sys.argv[4]\n"
                  "for r in t:\n"
                  "  if r.fname.strip()==sys.argv[2]: dbf.write(r, **{sys.argv[3]: v})\n"
                  "t.close(); os.rename(p, sys.argv[1])\n",
                  structure, fieldName, column.toLower(), value, number ? "1" : "0"});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        ADD_FAILURE() << python.readAllStandardError().toStdString();
        return false;
    }
    return true;
}

}  // namespace vantrep::design::testing
