#include "app/TsvFormat.h"

#include <cmath>
#include <cstdio>

namespace vantrep::app {

using engine::Value;
using engine::ValueKind;

std::string cellText(const Value& value, int decimals) {
    switch (value.kind()) {
    case ValueKind::Integer:
    case ValueKind::Decimal: return value.asDecimal().rescaled(decimals).toString();
    case ValueKind::Double: {
        double d = value.asDouble();
        if (!std::isfinite(d)) return value.toText();
        char buffer[400];  // a double's integer part has at most 309 digits
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, d);
        return buffer;
    }
    default: return value.toText();
    }
}

std::string escapeCell(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\t': escaped += "\\t"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        case '\\': escaped += "\\\\"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

}  // namespace vantrep::app
