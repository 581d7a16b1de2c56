#include "report/BandFunction.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include "engine/EngineError.h"
#include "print/PrintSurface.h"
#include "report/ReportData.h"
#include "report/clsVariables.h"
#include "format/DisplayFormat.h"

namespace vantrep::report {

namespace {

engine::Value textValue(const QString& text) { return engine::Value::string(text.toStdString()); }

// Each argument that names a field adds the field's value (trimmed when the
// argument ends with "*"); any other argument adds itself as written.
QString concatenated(const QString& arguments, ReportData* data) {
    QString result;
    for (const QString& argument : arguments.split(u',')) {
        bool trimmed = argument.endsWith(u'*');
        QString name = trimmed ? argument.chopped(1) : argument;
        if (!data || !data->hasField(name)) {
            result += argument;
            continue;
        }
        try {
            if (std::optional<engine::Value> field = data->value(name)) {
                QString text = valueText(*field);
                result += trimmed ? text.trimmed() : text;
            }
        } catch (const engine::EngineError&) {
            // a field that cannot be read adds nothing; the rest goes on
        }
    }
    return result;
}

}  // namespace

BandValue evaluateFunction(const QString& expression, const FunctionSources& sources) {
    QString text = expression;
    text.remove(u')');
    qsizetype open = text.indexOf(u'(');
    QString name = (open < 0 ? text : text.left(open)).toLower();
    QString arguments = open < 0 ? QString() : text.mid(open + 1);

    BandValue result;
    if (name == u"concat") {
        result.value = textValue(concatenated(arguments, sources.data));
    } else if (name == u"pagecount") {
        result.value = engine::Value::integer(sources.surface ? sources.surface->page() : 0);
    } else if (name == u"time") {
        result.isTimeOfDay = true;
        result.timeOfDay = QTime::currentTime();
    } else if (name == u"date") {
        result.value = engine::Value::date(static_cast<int32_t>(QDate::currentDate().toJulianDay()));
    } else if (sources.variables) {
        if (const clsVariable* variable = sources.variables->Item(name)) result.value = variable->Value();
    }
    return result;
}

QString bandValueText(const BandValue& value, const QString& pattern) {
    if (!value.isTimeOfDay) return format::Format(value.value, pattern);
    if (pattern.isEmpty()) return QLocale().toString(value.timeOfDay, QStringLiteral("h:mm:ss AP"));
    return format::Format(QDateTime(QDate::currentDate(), value.timeOfDay), pattern);
}

}  // namespace vantrep::report
