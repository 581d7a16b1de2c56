#include "analysis/Pivot.h"

#include <optional>

#include "engine/EngineError.h"
#include "session/FieldLookup.h"
#include "session/ValueList.h"

namespace vantrep::analysis {

namespace {

using engine::Value;

struct Key {
    bool bucket = false;
    bool character = false;
    QString text;  // character keys without quotes; numbers as written
    QString trimmedText;  // character keys: the text without trailing blanks
    std::optional<engine::Decimal> number;  // number keys: the number written
    QString caption;
};

struct Level {
    QString field;
    std::vector<Key> keys;
};

QString rightTrimmed(QString s) {
    while (!s.isEmpty() && s.back() == ' ') s.chop(1);
    return s;
}

std::vector<Level> parseSpec(const QString& colSpec, const session::FieldList& aDims) {
    std::vector<Level> levels;
    for (const QString& part : colSpec.split(';', Qt::SkipEmptyParts)) {
        int colon = part.indexOf(':');
        Level level;
        level.field = part.left(colon).trimmed();
        int index = session::FindFieldByName(aDims, level.field);
        QString type = index > 0 ? aDims(index).FType.trimmed() : QString("C");
        for (QString text : part.mid(colon + 1).split(',', Qt::SkipEmptyParts)) {
            Key key;
            key.bucket = text.startsWith('*');
            if (key.bucket) text.remove(0, 1);
            key.character = text.startsWith('\'');
            key.text = key.character ? text.mid(1, text.size() - 2) : text;
            if (key.character) key.trimmedText = rightTrimmed(key.text);
            else key.number = engine::Decimal::parse(key.text.toStdString());
            Value shown = key.character ? Value::string(key.text.toStdString())
                                        : Value::decimal(key.number.value_or(engine::Decimal{}));
            key.caption = key.bucket ? QString("Others")
                                     : session::DisplayFormOf(shown, level.field, type).trimmed();
            level.keys.push_back(key);
        }
        levels.push_back(level);
    }
    return levels;
}

// The key of `level` that `value` (from the grouped result) stands for, or -1.
int keyIndex(const Level& level, const Value& value) {
    const bool text = value.kind() == engine::ValueKind::String;
    const QString trimmed = text ? rightTrimmed(QString::fromStdString(value.asString())) : QString();
    for (size_t k = 0; k < level.keys.size(); ++k) {
        const Key& key = level.keys[k];
        if (key.character) {
            if (text && trimmed == key.trimmedText) return static_cast<int>(k);
        } else if (value.isNumber()) {
            if (key.number && engine::compare(*key.number, value.asDecimal()) == 0) return static_cast<int>(k);
        }
    }
    return -1;
}

bool sameRow(const std::vector<Value>& a, const std::vector<Value>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i])) return false;
    return true;
}

}  // namespace

PivotTable Pivot(engine::Recordset& grouped, const QString& sRowFields, const QString& colSpec,
                 const QStringList& measures, const session::FieldList& aDims) {
    PivotTable table;
    table.rowFields = sRowFields.split(';', Qt::SkipEmptyParts);
    std::vector<Level> levels = parseSpec(colSpec, aDims);

    // Every key combination, outer levels first, inner levels repeating under each.
    size_t combinations = 1;
    for (const Level& level : levels) combinations *= level.keys.size();
    for (size_t c = 0; c < combinations; ++c) {
        QStringList parts;
        size_t rest = c;
        std::vector<size_t> digits(levels.size());
        for (size_t l = levels.size(); l-- > 0;) {
            digits[l] = rest % levels[l].keys.size();
            rest /= levels[l].keys.size();
        }
        for (size_t l = 0; l < levels.size(); ++l) parts << levels[l].keys[digits[l]].caption;
        for (int m = 0; m < measures.size(); ++m) table.valueFields << parts.join('|');
    }

    const int nRows = static_cast<int>(table.rowFields.size());
    const int nLevels = static_cast<int>(levels.size());
    std::vector<int> measureFields;
    for (const QString& m : measures) {
        int index = grouped.fields().indexOf(m.toStdString());
        if (index < 0) throw engine::EngineError(engine::errUnknownName, "Field '" + m.toStdString() + "' is not found.");
        measureFields.push_back(index);
    }

    for (; !grouped.Eof(); grouped.MoveNext()) {
        std::vector<Value> row;
        for (int i = 0; i < nRows; ++i) row.push_back(grouped.field(i).value());
        size_t combination = 0;
        bool matched = true;
        for (int l = 0; l < nLevels && matched; ++l) {
            int k = keyIndex(levels[static_cast<size_t>(l)], grouped.field(nRows + l).value());
            matched = k >= 0;
            combination = combination * levels[static_cast<size_t>(l)].keys.size() + static_cast<size_t>(k);
        }
        if (!matched) continue;
        if (table.rows.empty() || !sameRow(table.rows.back(), row)) {
            table.rows.push_back(row);
            table.values.emplace_back(table.valueFields.size(), Value::null());
        }
        for (size_t m = 0; m < measureFields.size(); ++m)
            table.values.back()[combination * measureFields.size() + m] = grouped.field(measureFields[m]).value();
    }
    return table;
}

}  // namespace vantrep::analysis
