#include <algorithm>

#include "engine/exec/AggregateRules.h"
#include "engine/exec/Arithmetic.h"
#include "engine/exec/TypeRules.h"

namespace vantrep::engine::exec {

std::optional<AggregateFunction> aggregateNamed(std::string_view name) {
    if (name == "SUM") return AggregateFunction::Sum;
    if (name == "COUNT") return AggregateFunction::Count;
    if (name == "AVG") return AggregateFunction::Avg;
    if (name == "MIN") return AggregateFunction::Min;
    if (name == "MAX") return AggregateFunction::Max;
    return std::nullopt;
}

ColumnType aggregateType(AggregateFunction function, const ColumnType& argument, std::string_view name,
                         size_t position) {
    TypeFamily family = familyOf(argument);
    switch (function) {
    case AggregateFunction::Count:
    case AggregateFunction::CountStar:
        return numericType(10, 0);
    case AggregateFunction::Min:
    case AggregateFunction::Max:
        if (family == TypeFamily::Binary) throwArgumentMismatch(std::string(name), 1, position);
        return argument;
    case AggregateFunction::Sum:
    case AggregateFunction::Avg:
        break;
    }
    if (family != TypeFamily::Number && family != TypeFamily::Unknown)
        throwArgumentMismatch(std::string(name), 1, position);
    if (argument.type == 'B') return argument;
    if (function == AggregateFunction::Sum)
        return argument.type == 'Y' ? argument : numericType(maxNumericWidth, argument.decimals);
    int decimals = std::min(argument.decimals + 4, maxNumericDecimals);
    return numericType(maxNumericWidth - decimals - 1, decimals);
}

AggregateState::AggregateState(const AggregateCall& call) : call_(&call) {}

void AggregateState::add(const Value& value) {
    AggregateFunction function = call_->function;
    if (function == AggregateFunction::CountStar) {
        ++count_;
        return;
    }
    if (value.isNull()) return;
    switch (function) {
    case AggregateFunction::Sum:
    case AggregateFunction::Avg:
        if (value.kind() == ValueKind::Double) {
            realSum_ += value.asDouble();
            real_ = true;
        } else if (value.isNumber()) {
            sum_ = sum_ + value.asDecimal();
        }
        break;
    case AggregateFunction::Min:
        if (count_ == 0 || compareValues(value, best_) < 0) best_ = value;
        break;
    case AggregateFunction::Max:
        if (count_ == 0 || compareValues(value, best_) > 0) best_ = value;
        break;
    default:
        break;
    }
    ++count_;
}

Value AggregateState::finish() const {
    const ColumnType& type = call_->type;
    switch (call_->function) {
    case AggregateFunction::Count:
    case AggregateFunction::CountStar:
        return conform(Value::integer(count_), type);
    case AggregateFunction::Min:
    case AggregateFunction::Max:
        return conform(best_, type);
    default:
        break;
    }
    if (count_ == 0) return Value::null();
    bool average = call_->function == AggregateFunction::Avg;
    if (real_ || type.type == 'B') {
        double total = sum_.toDouble() + realSum_;
        return conform(Value::real(average ? total / static_cast<double>(count_) : total), type);
    }
    if (!average) return conform(Value::decimal(sum_), type);
    std::optional<Decimal> mean = divideDecimals(sum_, Decimal::fromInt(count_), type.decimals);
    if (!mean) return conform(Value::real(sum_.toDouble() / static_cast<double>(count_)), type);
    return conform(Value::decimal(*mean), type);
}

}  // namespace vantrep::engine::exec
