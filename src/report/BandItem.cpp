#include "report/BandItem.h"

#include <QStringList>

#include <algorithm>
#include <limits>

#include "report/BandText.h"

namespace vantrep::report {

namespace {

constexpr int fieldCount = 15;

int wholeNumber(const QString& text, double low, double high) {
    return static_cast<int>(std::clamp(leadingNumber(text), low, high));
}

int int32Field(const QString& text) {
    return wholeNumber(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

}  // namespace

print::PrintFont BandItem::font() const {
    print::PrintFont result;
    result.name = fontName;
    result.size = fontSize;
    result.bold = bold;
    result.italic = italic;
    result.underline = underline;
    result.strikeOut = strikeOut;
    return result;
}

BandItem parseBandItem(const QString& item, const print::PrintFont& current) {
    QString text = item;
    if (text.endsWith(u'*')) text.chop(1);
    QStringList fields = text.split(fieldSeparator);
    while (fields.size() < fieldCount) fields.append(QString());

    BandItem result;
    result.kind = fields[0].toLower();
    result.text = fields[1];
    result.width = leadingNumber(fields[2]);
    result.height = leadingNumber(fields[3]);
    result.maxChars = wholeNumber(fields[4], 0, 32767);
    result.align = fields[5].isEmpty() ? 6 : int32Field(fields[5]);
    result.fontName = fields[6].isEmpty() ? current.name : fields[6];
    double size = leadingNumber(fields[7]);
    result.fontSize = size > 0 ? size : current.size;
    result.bold = flagValue(fields[8]);
    result.italic = flagValue(fields[9]);
    result.underline = flagValue(fields[10]);
    result.strikeOut = flagValue(fields[11]);
    result.format = fields[12];
    result.cellAttribute = int32Field(fields[13]);
    result.color = int32Field(fields[14]);
    return result;
}

}  // namespace vantrep::report
