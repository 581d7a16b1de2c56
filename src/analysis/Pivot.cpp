#include "analysis/Pivot.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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

// Finds which key of a level each grouped value stands for, working it out
// once per distinct value: the grouped result repeats its column values on
// every row.
class KeyFinder {
public:
    explicit KeyFinder(const Level& level) : level_(level) {}

    int keyOf(const engine::Field& field) {
        const std::optional<std::string_view> bytes = field.storedBytes();
        if (!bytes) return keyIndex(level_, field.value());
        auto found = known_.find(std::string(*bytes));
        if (found != known_.end()) return found->second;
        const int key = keyIndex(level_, field.value());
        known_.emplace(std::string(*bytes), key);
        return key;
    }

private:
    const Level& level_;
    std::unordered_map<std::string, int> known_;
};

// Tells whether a grouped row starts a new record: its row-dimension values
// differ from those of the last record. Values are compared by the bytes that
// stand for them where the result has such bytes.
class RowChange {
public:
    explicit RowChange(int fields) : bytes_(static_cast<size_t>(fields)), haveBytes_(static_cast<size_t>(fields)) {}

    bool startsNewRecord(engine::Recordset& grouped, const PivotTable& table) const {
        if (table.rows.empty()) return true;
        for (size_t i = 0; i < bytes_.size(); ++i) {
            const engine::Field field = grouped.field(static_cast<int>(i));
            const std::optional<std::string_view> bytes = field.storedBytes();
            if (bytes && haveBytes_[i]) {
                if (*bytes != bytes_[i]) return true;
            } else if (!(field.value() == table.rows.back()[i])) {
                return true;
            }
        }
        return false;
    }
    // Notes the current grouped row as the last record's.
    void remember(engine::Recordset& grouped) {
        for (size_t i = 0; i < bytes_.size(); ++i) {
            const std::optional<std::string_view> bytes = grouped.field(static_cast<int>(i)).storedBytes();
            haveBytes_[i] = bytes.has_value();
            if (bytes) bytes_[i].assign(*bytes);
        }
    }

private:
    std::vector<std::string> bytes_;
    std::vector<bool> haveBytes_;
};

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

    std::vector<KeyFinder> finders;
    for (const Level& level : levels) finders.emplace_back(level);
    RowChange rowChange(nRows);
    const size_t measureCount = measureFields.size();
    // Per record, the cells as the rows give them; a NULL sum is held as NaN
    // until later values for the same field have been weighed.
    std::vector<std::vector<std::pair<int, double>>>& given = table.cells;
    for (; !grouped.Eof(); grouped.MoveNext()) {
        size_t combination = 0;
        bool matched = true;
        for (int l = 0; l < nLevels && matched; ++l) {
            int k = finders[static_cast<size_t>(l)].keyOf(grouped.field(nRows + l));
            matched = k >= 0;
            combination = combination * levels[static_cast<size_t>(l)].keys.size() + static_cast<size_t>(k);
        }
        if (!matched) continue;
        if (rowChange.startsNewRecord(grouped, table)) {
            std::vector<Value> row;
            for (int i = 0; i < nRows; ++i) row.push_back(grouped.field(i).value());
            table.rows.push_back(std::move(row));
            // Records are usually alike in how many fields have data.
            const size_t expected = given.empty() ? measureCount : given.back().size() + measureCount;
            given.emplace_back();
            given.back().reserve(expected);
            rowChange.remember(grouped);
        }
        for (size_t m = 0; m < measureCount; ++m) {
            const std::optional<double> sum = grouped.field(measureFields[m]).number();
            given.back().emplace_back(static_cast<int>(combination * measureCount + m), sum ? *sum : std::nan(""));
        }
    }
    // By field; where a field was given twice, the later value holds.
    for (auto& cells : given) {
        auto byField = [](const auto& a, const auto& b) { return a.first < b.first; };
        auto sameField = [](const auto& a, const auto& b) { return a.first == b.first; };
        if (!std::is_sorted(cells.begin(), cells.end(), byField)) std::stable_sort(cells.begin(), cells.end(), byField);
        if (std::adjacent_find(cells.begin(), cells.end(), sameField) != cells.end())
            cells.erase(cells.begin(), std::unique(cells.rbegin(), cells.rend(), sameField).base());
        cells.erase(std::remove_if(cells.begin(), cells.end(), [](const auto& c) { return std::isnan(c.second); }),
                    cells.end());
    }
    return table;
}

std::vector<std::optional<double>> PivotTable::values(size_t record) const {
    std::vector<std::optional<double>> all(static_cast<size_t>(valueFields.size()));
    for (const auto& [field, value] : cells[record]) all[static_cast<size_t>(field)] = value;
    return all;
}

}  // namespace vantrep::analysis
