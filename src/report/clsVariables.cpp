#include "report/clsVariables.h"

#include "engine/EngineError.h"

namespace vantrep::report {

clsVariable& clsVariables::Add() {
    if (!Data) throw engine::EngineError(errDataNotSet, "Data recordset is not set");
    auto variable = std::make_unique<clsVariable>();
    variable->Name = QStringLiteral("Var") + QString::number(counter_);
    variable->Parent = this;
    ++counter_;
    clsVariable& added = *variable;
    byKey_.insert(added.Name.toLower(), &added);
    variables_.push_back(std::move(variable));
    return added;
}

clsVariable* clsVariables::Item(const QString& key) const { return byKey_.value(key.toLower(), nullptr); }

void clsVariables::Remove(const QString& key) {
    clsVariable* variable = Item(key);
    if (!variable) return;
    byKey_.remove(key.toLower());
    std::erase_if(variables_, [variable](const auto& v) { return v.get() == variable; });
}

void clsVariables::Update() {
    for (const auto& variable : variables_) {
        QString key = criteriaKey(variable->GroupCriteria);
        if (!variable->GroupValue.isEmpty() && variable->GroupValue != key)
            variable->setValue(engine::Value::integer(0));
        variable->Update();
        variable->GroupValue = key;
    }
}

QString clsVariables::criteriaKey(const QString& criteria) {
    if (criteria.compare(QStringLiteral("Never Changes"), Qt::CaseInsensitive) == 0) return {};
    if (!Data || Data->atEnd()) return {};
    if (criteria.compare(QStringLiteral("When Page Changes"), Qt::CaseInsensitive) == 0)
        return VSPrn ? QString::number(VSPrn->page()) : QString();
    return memoized(criteria, false);
}

QString clsVariables::rowKey(const QString& fieldList) {
    if (!Data || Data->atEnd()) return {};
    // "*" alone (as in count(*)) stands for the whole record: every record counts.
    if (fieldList == u"*") return fieldList;
    return memoized(fieldList, true);
}

QString clsVariables::memoized(const QString& fieldList, bool rowKey) {
    int64_t position = Data->recordset().AbsolutePosition();
    if (position != memoPosition_) {
        criteriaKeys_.clear();
        rowKeys_.clear();
        memoPosition_ = position;
    }
    QHash<QString, QString>& memo = rowKey ? rowKeys_ : criteriaKeys_;
    auto found = memo.constFind(fieldList);
    if (found != memo.constEnd()) return *found;
    QString key = rowKey ? Data->joinedText(fieldList, SupperssZero).trimmed() : Data->joinedText(fieldList);
    memo.insert(fieldList, key);
    return key;
}

}  // namespace vantrep::report
