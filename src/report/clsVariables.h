// The aggregates of one banded report, in creation order and filed under
// their names; updated once for every data record.
#pragma once

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

#include "engine/Recordset.h"
#include "print/PrintSurface.h"
#include "report/ReportData.h"
#include "report/clsVariable.h"

namespace vantrep::report {

// Number of the error raised by Add without data: vbObjectError + 513.
constexpr int vbObjectError = -2147221504;
constexpr int errDataNotSet = vbObjectError + 513;

class clsVariables {
public:
    ReportData* Data = nullptr;  // the report data, read at its current record
    print::PrintSurface* VSPrn = nullptr;
    bool SupperssZero = false;

    // A new variable filed as "Var" & counter. Throws EngineError
    // (errDataNotSet, "Data recordset is not set") when Data is not set.
    clsVariable& Add();
    // The variable filed under `key` (any case); null when there is none.
    clsVariable* Item(const QString& key) const;
    int Count() const { return static_cast<int>(variables_.size()); }
    void Remove(const QString& key);
    auto begin() const { return variables_.begin(); }
    auto end() const { return variables_.end(); }

    // For every variable in order: restart it when the key of its criteria
    // changed, add the current record, remember the key.
    void Update();

    // Key of the current record for a criteria text: "" for "Never Changes"
    // and at the end of the data, the page number for "When Page Changes",
    // else the criteria's field values joined.
    QString criteriaKey(const QString& criteria);
    // Row key of a field list, deciding whether a record is counted: "" at
    // the end of the data, else the fields' values joined and trimmed, a
    // decimal 0 left out when SupperssZero is set.
    QString rowKey(const QString& fieldList);

private:
    // Keys are worked out once per record and criteria: many variables share them.
    QString memoized(const QString& fieldList, bool rowKey);

    std::vector<std::unique_ptr<clsVariable>> variables_;
    QHash<QString, clsVariable*> byKey_;
    int counter_ = 1;
    int64_t memoPosition_ = -1;
    QHash<QString, QString> criteriaKeys_;
    QHash<QString, QString> rowKeys_;
};

}  // namespace vantrep::report
