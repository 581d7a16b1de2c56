#include "report/BandText.h"

namespace vantrep::report {

QStringList cutText(const QString& text, const QString& separator) {
    if (text.isEmpty()) return {};
    return text.split(separator);
}

QString levelPiece(const QString& groupBand, int level) {
    QStringList pieces = cutText(groupBand, levelSeparator);
    if (level < 0 || level >= pieces.size()) return {};
    return pieces[level];
}

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace()) ++i;
    qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
    qsizetype digits = 0;
    while (i < n && text[i].isDigit()) ++i, ++digits;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit()) ++i, ++digits;
    }
    if (digits == 0) return 0;
    qsizetype end = i;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) ++j;
        qsizetype expStart = j;
        while (j < n && text[j].isDigit()) ++j;
        if (j > expStart) end = j;
    }
    return text.mid(start, end - start).toDouble();
}

bool flagValue(const QString& text) {
    QString word = text.trimmed();
    if (word.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0) return true;
    if (word.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0) return false;
    return leadingNumber(word) != 0;
}

}  // namespace vantrep::report
