#include "session/FilterFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

#include "engine/EngineError.h"
#include "session/ValueCoding.h"

namespace vantrep::session {

namespace {

const QString formatName = QStringLiteral("VantRep filters");
constexpr int formatVersion = 1;
// Far more than 25 values for every field of a report: a larger file is no filter file.
constexpr qint64 largestFile = 4 << 20;
const QString filteredMarker = QStringLiteral("Filtered ");

bool isPlainNumber(const QString& value) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    return number.match(value).hasMatch();
}

bool acceptsNumber(const FieldDef& field, const QString& value) {
    const QString name = field.FName.trimmed();
    if (name == "MONTH") return !MonthNumber(value).isEmpty() || isPlainNumber(value);
    if (name == "WEEKDAY") return !WeekdayNumber(value).isEmpty() || isPlainNumber(value);
    if (name == "DURATION" && value == "Others") return true;
    return isPlainNumber(value);
}

int fieldNamed(const Session& s, const QString& fname) {
    const QString wanted = fname.trimmed().toUpper();
    for (int i = 1; i <= s.aDims.upperBound(); ++i)
        if (s.aDims(i).FName.trimmed().toUpper() == wanted) return i;
    return 0;
}

}  // namespace

QString FilterFileNameFor(const QString& structurePath) {
    const QFileInfo info(structurePath);
    const QString suffix = info.suffix();
    const bool upper = !suffix.isEmpty() && suffix == suffix.toUpper();
    return info.path() + "/" + info.completeBaseName() + (upper ? ".FLT" : ".flt");
}

QString FilterFileOf(const QString& structurePath) {
    const QFileInfo wanted(FilterFileNameFor(structurePath));
    for (const QString& name : QDir(wanted.path()).entryList(QDir::Files | QDir::Hidden))
        if (name.compare(wanted.fileName(), Qt::CaseInsensitive) == 0) return wanted.path() + "/" + name;
    return QString();
}

QList<SavedFilter> FiltersOf(const Session& s) {
    QList<SavedFilter> filters;
    const int last = std::min(s.aDims.upperBound(), static_cast<int>(s.cmbField.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        const ValueList& list = s.cmbField[static_cast<size_t>(i)];
        if (!list.filtered()) continue;
        filters.append({s.aDims(i).FName.trimmed(), list.items.mid(1), s.aDims(i).ShowOthers});
    }
    return filters;
}

QByteArray FilterFileText(const QList<SavedFilter>& filters) {
    QJsonArray entries;
    for (const SavedFilter& filter : filters) {
        entries.append(QJsonObject{{"FName", filter.FName},
                                   {"values", QJsonArray::fromStringList(filter.values)},
                                   {"ShowOthers", filter.ShowOthers}});
    }
    const QJsonObject root{{"format", formatName}, {"version", formatVersion}, {"filters", entries}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool ParseFilterFile(const QByteArray& text, QList<SavedFilter>& filters, QString& error) {
    filters.clear();
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parsed);
    if (parsed.error != QJsonParseError::NoError) {
        error = "it is not JSON (" + parsed.errorString() + " at byte " + QString::number(parsed.offset) + ")";
        return false;
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value("format").toString() != formatName) {
        error = "it is no filter file of this program";
        return false;
    }
    if (root.value("version").toInt() != formatVersion) {
        error = "its version is not " + QString::number(formatVersion);
        return false;
    }
    if (!root.value("filters").isArray()) {
        error = "it has no list of filters";
        return false;
    }
    QList<SavedFilter> read;
    for (const QJsonValue& entry : root.value("filters").toArray()) {
        const QJsonObject object = entry.toObject();
        SavedFilter filter;
        filter.FName = object.value("FName").toString();
        filter.ShowOthers = object.value("ShowOthers").toBool();
        const QJsonValue values = object.value("values");
        if (!entry.isObject() || filter.FName.trimmed().isEmpty() || !values.isArray() ||
            !object.value("ShowOthers").isBool()) {
            error = "filter " + QString::number(read.size() + 1) + " lacks its field name, values or ShowOthers";
            return false;
        }
        for (const QJsonValue& value : values.toArray()) {
            if (!value.isString()) {
                error = "a value of the filter of " + filter.FName + " is not a text";
                return false;
            }
            filter.values << value.toString();
        }
        read.append(filter);
    }
    filters = read;
    return true;
}

bool AcceptsFilterValue(const FieldDef& field, bool detailed, const QString& value) {
    if (field.FType.trimmed() == "N" && !acceptsNumber(field, value.trimmed())) return false;
    const QString role = field.Layout.trimmed();
    if (detailed || (role != "R" && role != "C")) return true;
    try {
        RequireDimensionValue(value, role);
        return true;
    } catch (const engine::EngineError&) {
        return false;
    }
}

QStringList PutFilters(Session& s, const QList<SavedFilter>& filters) {
    QStringList leftOut;
    QList<int> filled;
    for (const SavedFilter& filter : filters) {
        const int i = fieldNamed(s, filter.FName);
        // A field the dictionary lacks, or one named twice (the first counts), is passed over.
        if (i == 0 || i >= static_cast<int>(s.cmbField.size()) || filled.contains(i)) continue;
        filled << i;
        FieldDef& field = s.aDims(i);
        QStringList kept;
        for (const QString& value : filter.values) {
            if (AcceptsFilterValue(field, s.bDetailed, value))
                kept << value;
            else
                leftOut << field.FName.trimmed() + ": " + value;
        }
        if (kept.isEmpty()) continue;
        ValueList& list = s.cmbField[static_cast<size_t>(i)];
        list.items = QStringList{filteredMarker + field.FDesc.trimmed()} + kept;
        field.ShowOthers = filter.ShowOthers;
    }
    return leftOut;
}

void ReadFilterFile(Session& s) {
    const QString path = FilterFileOf(s.sStructFile);
    if (path.isEmpty()) return;
    auto warn = [&](const QString& text) {
        s.ui.message(text, QString(), MessageIcon::Exclamation, MessageButtons::Ok);
    };
    auto unreadable = [&](const QString& why) {
        warn("The filters kept in \"" + path + "\" cannot be read: " + why + ".\r\nThe report is shown without them.");
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return unreadable(file.errorString());
    if (file.size() > largestFile) return unreadable("the file is too large");
    QList<SavedFilter> filters;
    QString error;
    if (!ParseFilterFile(file.readAll(), filters, error)) return unreadable(error);
    const QStringList leftOut = PutFilters(s, filters);
    if (!leftOut.isEmpty()) {
        warn("These values kept in \"" + path + "\" cannot be values of their fields and are left out of the "
             "filters:\r\n" + leftOut.join("\r\n"));
    }
}

FilterFileWrite::FilterFileWrite(const Session& session, const QString& structureTarget)
    : filters_(FiltersOf(session)), structureTarget_(structureTarget) {}

QString FilterFileWrite::prepare() {
    if (filters_.isEmpty()) return QString();
    // A filter file already there keeps the case of its name.
    QString target = FilterFileOf(structureTarget_);
    if (target.isEmpty()) target = FilterFileNameFor(structureTarget_);
    file_ = std::make_unique<QSaveFile>(target);
    const QByteArray text = FilterFileText(filters_);
    if (!file_->open(QIODevice::WriteOnly) || file_->write(text) != text.size()) {
        const QString why = file_->errorString();
        file_.reset();
        return "Cannot write \"" + target + "\": " + why + ".";
    }
    return QString();
}

QString FilterFileWrite::commit() {
    if (file_) {
        const QString target = file_->fileName();
        if (!file_->commit()) return "Cannot write \"" + target + "\": " + file_->errorString() + ".";
        return QString();
    }
    // No filter now: filters left from an earlier save would come back on reopening.
    const QString stale = FilterFileOf(structureTarget_);
    if (!stale.isEmpty() && !QFile::remove(stale)) return "Cannot remove \"" + stale + "\".";
    return QString();
}

}  // namespace vantrep::session
