#include "analysis/DetailedListing.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <new>

#include "analysis/ListingQuery.h"
#include "analysis/OutOfMemory.h"
#include "engine/EngineError.h"
#include "engine/Parallel.h"
#include "engine/Recordset.h"
#include "format/DisplayFormat.h"

namespace vantrep::analysis {

namespace {

using session::FieldDef;

int rgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

// The displayed fields in column order: aDims indexes, column 1 first.
std::vector<int> displayedColumns(const session::FieldList& aDims) {
    std::vector<int> columns;
    for (int k = 1;; ++k) {
        int found = 0;
        for (int i = 1; i <= aDims.upperBound() && found == 0; ++i)
            if (aDims(i).Displayed && aDims(i).Divisor == k) found = i;
        if (found == 0) break;
        columns.push_back(found);
    }
    return columns;
}

ValueKind kindFromEngine(session::Session& s, const QString& fieldName) {
    engine::Recordset rs;
    rs.Open(("SELECT " + fieldName + " FROM " + s.sDataFile + " WHERE 1=0").toStdString(), s.cnData,
            engine::adOpenStatic, engine::adLockReadOnly);
    int type = rs.field(0).Type();
    if (type == engine::adVarChar || type == engine::adLongVarChar) return ValueKind::Character;
    if (type == engine::adDBDate || type == engine::adDBTimeStamp) return ValueKind::Date;
    return ValueKind::Other;
}

QString numberFormatOf(const FieldDef& f) { return f.FDec > 0 ? "#,###." + QString(f.FDec, '0') : "#,###"; }

int alignmentOf(const FieldDef& f) {
    QString type = f.FType.trimmed();
    if (type == "N") return grid::alignRightCenter;
    if (type == "D" || type == "L") return grid::alignCenterCenter;
    return grid::alignLeftCenter;
}

// The pattern a field's cells are shown through: numbers grouped with the
// field's decimals, dates as dd/mm/yyyy, anything else as it is (trimmed).
QString cellPattern(const FieldDef& f) {
    QString type = f.FType.trimmed();
    if (type == "N") return numberFormatOf(f);
    if (type == "D") return "dd/mm/yyyy";
    return QString();
}

// Values that show as the same text: equal, and for doubles the same bits
// (0 and -0 compare equal but need not print alike).
bool sameValue(const engine::Value& a, const engine::Value& b) {
    if (a.kind() == engine::ValueKind::Double && b.kind() == engine::ValueKind::Double)
        return std::bit_cast<uint64_t>(a.asDouble()) == std::bit_cast<uint64_t>(b.asDouble());
    return a == b;
}

QString cellText(const engine::Value& v, const QString& pattern, const QLocale& locale) {
    if (pattern.isEmpty()) return format::Format(v, QString(), locale).trimmed();
    return format::Format(v, pattern, locale);
}

// A column's cell texts, row by row. The listing is sorted by its groups, so a
// cell often repeats the cell above: a repeat is known from the stored bytes
// or the value without formatting it again.
class ColumnText {
public:
    explicit ColumnText(QString pattern) : pattern_(std::move(pattern)) {}

    const QString& of(const engine::Field& field) {
        const std::optional<std::string_view> bytes = field.storedBytes();
        if (known_ && bytes && bytesKnown_ && *bytes == bytes_) return text_;
        engine::Value value = field.value();
        if (!known_ || !sameValue(value, value_)) {
            text_ = cellText(value, pattern_, locale_);
            value_ = std::move(value);
        }
        known_ = true;
        bytesKnown_ = bytes.has_value();
        if (bytes) bytes_.assign(*bytes);
        return text_;
    }

private:
    QString pattern_;
    QLocale locale_;
    bool known_ = false;
    engine::Value value_;
    QString text_;
    bool bytesKnown_ = false;
    std::string bytes_;
};

}  // namespace

int SubtotalLevelColor(int level) {
    switch (level) {
    case 1: return rgb(204, 0, 0);
    case 2: return rgb(0, 0, 204);
    case 3: return rgb(0, 153, 102);
    default: return rgb(153, 102, 0);
    }
}

bool FillDetailed(session::Session& s, grid::GridModel& grid, grid::TextMeasure& measure, const QImage& clipButton) {
    std::vector<int> columns = displayedColumns(s.aDims);
    if (columns.empty()) {
        s.ui.critical("The structure file displays no field: the listing has no column to show.");
        return false;
    }
    int64_t rowsToShow = -1;  // known once the statement has run
    try {
        QString statement = ListingStatement(s.aDims, s.cmbField, s.bClipDet, s.sDataFile,
                                             [&](const QString& name) { return kindFromEngine(s, name); });
        if (s.rsData.State() == engine::adStateOpen) s.rsData.Close();
        s.rsData.Open(statement.toStdString(), s.cnData, engine::adOpenStatic, engine::adLockReadOnly);
        // The rows are read from the table itself: what the engine decoded to
        // sort them is not needed again, and its memory goes to the grid.
        s.cnData.releaseMemory();

        grid.setRedraw(false);
        grid.clear();
        // A summary shown before leaves its merge flags and frozen columns:
        // the listing merges only its subtotal levels and freezes nothing.
        for (int r = 0; r < grid.rows(); ++r) grid.setMergeRow(r, false);
        rowsToShow = s.rsData.RecordCount();
        const int records = static_cast<int>(rowsToShow);
        const int fields = s.rsData.fields().Count();
        grid.setRows(records + 1);
        grid.setCols(fields + 1);
        grid.setFixedRows(1);
        grid.setFixedCols(1);
        grid.setFrozenCols(0);
        for (int c = 0; c < grid.cols(); ++c) grid.setMergeCol(c, false);
        for (size_t c = 0; c < columns.size(); ++c) {
            const int col = static_cast<int>(c) + 1;
            const int field = columns[c];
            grid.setTextMatrix(0, col, s.cmbField[static_cast<size_t>(field)].items.value(0));
            grid.setColAlignment(col, alignmentOf(s.aDims(field)));
        }
        const int clipColumn = s.bClipDet ? static_cast<int>(columns.size()) : -1;  // field index in the result
        if (s.bClipDet) grid.setTextMatrix(0, clipColumn + 1, "CLIPDET");

        // Rows are filled on all cores, each core taking a run of rows through
        // a cursor of its own (the first core through the session's
        // recordset, showing the progress). A run works out its first row in
        // full, so every run gives the texts one pass would.
        const size_t count = static_cast<size_t>(std::max(records, 0));
        const size_t parts = engine::partsFor(count, 20000);
        std::vector<std::unique_ptr<engine::Recordset>> cursors(parts);
        for (size_t part = 1; part < parts; ++part) {
            cursors[part] = s.rsData.Clone();
            cursors[part]->Move(static_cast<int64_t>(engine::partRange(count, parts, part).first));
        }
        engine::runParts(parts, [&](size_t part) {
            engine::Recordset& rs = part == 0 ? s.rsData : *cursors[part];
            const auto [begin, end] = engine::partRange(count, parts, part);
            std::vector<ColumnText> texts;
            for (int field : columns) texts.emplace_back(cellPattern(s.aDims(field)));
            ColumnText clipTexts{QString()};
            std::vector<QStringView> rowTexts(static_cast<size_t>(grid.cols()));  // column 0 stays empty
            for (size_t i = begin; i < end; ++i, rs.MoveNext()) {
                const int row = static_cast<int>(i) + 1;
                if (part == 0) s.ui.flood(static_cast<int>((i + 1 - begin) * 100 / (end - begin)));
                const QString clip = s.bClipDet ? clipTexts.of(rs.field(clipColumn)) : QString();
                for (size_t c = 0; c < columns.size(); ++c) {
                    const int col = static_cast<int>(c) + 1;
                    rowTexts[col] = texts[c].of(rs.field(static_cast<int>(c)));
                    if (s.bClipDet && !clip.isEmpty() && s.aDims(columns[c]).FName == "AD_TYPE") {
                        grid.setCellPicture(row, col, clipButton);
                        grid.setCellData(row, col, clip);
                    }
                }
                if (s.bClipDet) rowTexts[clipColumn + 1] = clip;
                grid.setRowTexts(row, rowTexts);
            }
        });
        s.rsData.Move(records);  // every row read, as one pass leaves the cursor
        s.ui.flood(0);
        // The grid holds every text: the table's pages are not read again
        // for the subtotals, and leave memory before the rows grow.
        s.cnData.releaseMemory();
        grid.setRows(records + 1);
        if (s.bClipDet) grid.setColHidden(clipColumn + 1, true);

        // A subtotal level groups by the column of that number: a level
        // beyond the last column has nothing to group by and is left out.
        int deepest = 0;
        const int lastColumn = static_cast<int>(columns.size());
        for (int field : columns) {
            const FieldDef& f = s.aDims(field);
            if (f.Level <= lastColumn)
                deepest = std::max(deepest, f.Level);
            else
                s.ui.critical(QStringLiteral("The field \"%1\" has subtotal level %2, beyond the listing's %3 "
                                             "columns: it is left out of the subtotals.")
                                  .arg(f.FName)
                                  .arg(f.Level)
                                  .arg(lastColumn));
        }
        for (int level = 1; level <= deepest; ++level) {
            grid.setMergeCol(level, true);
            std::vector<grid::SubtotalRequest> levelTotals;
            for (size_t c = 0; c < columns.size(); ++c) {
                const FieldDef& f = s.aDims(columns[c]);
                if (f.FType.trimmed() != "N") continue;
                grid::SubtotalRequest request;
                request.function = grid::subtotalSum;
                request.groupCol = level;
                request.totalCol = f.Divisor;
                // The column's own format: a total outgrows the field's width,
                // and the display format built from that width may not group.
                request.format = numberFormatOf(f);
                request.foreColor = SubtotalLevelColor(level);
                request.bold = false;
                request.caption = "%s";
                levelTotals.push_back(request);
            }
            grid.subtotal(levelTotals);
        }
        grid.autoSize(1, grid.cols() - 1, measure);
        grid.setRedraw(true);
        return true;
    } catch (const engine::EngineError& e) {
        grid.setRedraw(true);
        s.ui.critical(QString::fromStdString(e.description()));
        return false;
    } catch (const std::bad_alloc&) {
        GiveUpForMemory(s, grid, rowsToShow);
        return false;
    }
}

}  // namespace vantrep::analysis
