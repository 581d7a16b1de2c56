// The rows of a DBF table as another program reads them: Python's dbfread,
// each row a JSON object keyed by the upper-case field names.
#pragma once

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

namespace vantrep::session::testing {

inline QJsonArray readWithDbfread(const QString& path) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import sys, json, dbfread\n"
                  "print(json.dumps([dict(r) for r in dbfread.DBF(sys.argv[1])], default=str))",
                  path});
    python.waitForFinished(60000);
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

// The row whose FNAME is `fname`; a failure and an empty object when none is.
inline QJsonObject rowNamed(const QJsonArray& rows, const QString& fname) {
    for (const QJsonValue& row : rows)
        if (row.toObject().value("FNAME").toString() == fname) return row.toObject();
    ADD_FAILURE() << "no row " << fname.toStdString();
    return {};
}

}  // namespace vantrep::session::testing
