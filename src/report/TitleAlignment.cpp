#include "report/TitleAlignment.h"

namespace vantrep::report {

int titleAlignment(const QString& text) {
    if (text.startsWith(QStringLiteral("||"))) return titleRight;
    if (text.startsWith(u'|')) return titleCenter;
    return titleLeft;
}

QString alignedTitle(const QString& title, const QString& alignment) {
    if (alignment == u"Left") return title + QStringLiteral("||");
    if (alignment == u"Right") return QStringLiteral("||") + title;
    if (alignment == u"Center") return u'|' + title + u'|';
    return title;
}

QString alignmentName(int code) {
    if (code == titleCenter) return QStringLiteral("Center");
    if (code == titleRight) return QStringLiteral("Right");
    return QStringLiteral("Left");
}

QString titleWithoutBars(const QString& text) {
    QString plain = text;
    plain.remove(u'|');
    return plain;
}

}  // namespace vantrep::report
