#include "report/clsVariable.h"

#include <optional>

#include "report/clsVariables.h"

namespace vantrep::report {

namespace {

using engine::Value;
using engine::ValueKind;

bool isExact(const Value& v) { return v.kind() == ValueKind::Integer || v.kind() == ValueKind::Decimal; }

Value added(const Value& running, const Value& field) {
    if (running.isNull()) return field;
    if (!running.isNumber()) return running;
    if (isExact(running) && isExact(field)) return Value::decimal(running.asDecimal() + field.asDecimal());
    return Value::real(running.asDouble() + field.asDouble());
}

bool isZero(const Value& v) { return v.isNumber() && v.asDouble() == 0; }

}  // namespace

engine::Value clsVariable::Value() const {
    if (function_ == u"count") return engine::Value::integer(count_);
    if (function_ == u"avg") {
        if (count_ == 0) return engine::Value::null();
        double total = running_.isNumber() ? running_.asDouble() : 0;
        return engine::Value::real(total / static_cast<double>(count_));
    }
    return running_;
}

void clsVariable::setValue(const engine::Value& value) {
    if (function_ == u"min") {
        running_ = engine::Value::real(minStartValue);
    } else if (function_ == u"max") {
        running_ = engine::Value::real(maxStartValue);
    } else {
        running_ = value;
    }
    if (isZero(value)) count_ = 0;
}

void clsVariable::setCalculation(const QString& calculation) {
    QString text = calculation;
    text.remove(u')');
    qsizetype open = text.indexOf(u'(');
    function_ = (open < 0 ? text : text.left(open)).toLower();
    argument_ = open < 0 ? QString() : text.mid(open + 1).toLower();
    if (function_ == u"min") running_ = engine::Value::real(minStartValue);
    if (function_ == u"max") running_ = engine::Value::real(maxStartValue);
}

void clsVariable::accumulate(const engine::Value& field) {
    if (!field.isNumber()) return;  // null and non-numbers take no part in a total
    if (function_ == u"sum" || function_ == u"avg") {
        running_ = added(running_, field);
    } else if (function_ == u"min") {
        if (!running_.isNumber() || field.asDouble() < running_.asDouble()) running_ = field;
    } else if (function_ == u"max") {
        if (!running_.isNumber() || field.asDouble() > running_.asDouble()) running_ = field;
    }
}

void clsVariable::Update() {
    if (!Parent || !Parent->Data) return;
    ReportData& data = *Parent->Data;
    if (function_ != u"count") {
        if (std::optional<engine::Value> field = data.value(argument_)) accumulate(*field);
    }
    const QString& counted = NextLevelGroupCriteria.isEmpty() ? argument_ : NextLevelGroupCriteria;
    if (!Parent->rowKey(counted).isEmpty()) ++count_;
}

}  // namespace vantrep::report
