#include "app/TsvFormat.h"

#include <charconv>
#include <cmath>

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
        // The shortest plain decimal that reads back as the same double,
        // with zeros added up to `decimals` places.
        // At most 309 integer digits, or "0." and 324 decimals: it always fits.
        char buffer[400];
        std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::fixed).ptr);
        const size_t point = text.find('.');
        const int shown = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
        if (shown < decimals) {
            if (point == std::string::npos) text += '.';
            text.append(static_cast<size_t>(decimals - shown), '0');
        }
        return text;
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
