// The text of a PDF file as poppler's pdftotext lays it out: pages end in
// "\f", columns keep their places.
#pragma once

#include <QProcess>
#include <QString>

namespace vantrep::testing {

inline QString pdfText(const QString& path) {
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    reader.waitForFinished(60000);
    return QString::fromUtf8(reader.readAllStandardOutput());
}

}  // namespace vantrep::testing
