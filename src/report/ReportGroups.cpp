#include "report/ReportGroups.h"

#include "report/BandText.h"

namespace vantrep::report {

namespace {

const QStringList aggregatePrefixes = {QStringLiteral("sum("), QStringLiteral("avg("), QStringLiteral("count("),
                                       QStringLiteral("min("), QStringLiteral("max(")};

clsGroupFmt groupRecord(const QString& criteria, const QString& detail, int level, const QString& band,
                        const QString& headerFooter) {
    clsGroupFmt group;
    group.GroupCriteria = criteria;
    group.NextLevelGroupCriteria = detail;
    group.GroupLevel = level;
    group.GroupFormat = band;
    group.HeaderFooter = headerFooter;
    return group;
}

}  // namespace

QString detailFields(const QString& detailBand) {
    QStringList names;
    for (const QString& line : cutText(detailBand, lineSeparator)) {
        for (const QString& item : cutText(line, itemSeparator)) {
            QStringList fields = item.split(fieldSeparator);
            if (fields.size() < 2 || fields[0].toLower() != u"txt") continue;
            QString name = fields[1];
            if (name.endsWith(u'*')) name.chop(1);
            names.append(name);
        }
    }
    return names.join(u',');
}

std::vector<clsGroupFmt> buildGroups(const QString& groupCriteria, const QString& groupHeaders,
                                     const QString& groupFooters, const QString& detailBand) {
    QStringList levels = cutText(groupCriteria, levelSeparator);
    std::vector<clsGroupFmt> groups;
    if (levels.isEmpty()) return groups;
    QString detail = detailFields(detailBand);
    QString criteria = levels.join(u',');
    for (int level = static_cast<int>(levels.size()); level >= 1; --level) {
        if (level < levels.size()) {
            // Only the innermost remaining level is cut off the end, so a field
            // whose name starts another's is never touched.
            criteria.chop(levels[level].size() + 1);
        }
        groups.push_back(groupRecord(criteria, detail, level, levelPiece(groupHeaders, level - 1), QStringLiteral("H")));
        groups.push_back(groupRecord(criteria, detail, level, levelPiece(groupFooters, level - 1), QStringLiteral("F")));
    }
    return groups;
}

QString replaceAggregates(const QString& band, clsVariables& variables, const QString& criteria,
                          const QString& nextLevelCriteria) {
    QString text = band;
    for (const QString& prefix : aggregatePrefixes) {
        QString marker = fieldSeparator + prefix;
        qsizetype hit = text.indexOf(marker);
        while (hit >= 0) {
            qsizetype start = hit + 1;
            qsizetype end = text.indexOf(fieldSeparator, start);
            // An aggregate at the very end of the band runs to its end.
            QString aggregate = text.mid(start, end < 0 ? -1 : end - start);
            clsVariable& variable = variables.Add();
            variable.setCalculation(aggregate);
            text.replace(aggregate, variable.Name);
            variable.GroupCriteria = criteria;
            variable.NextLevelGroupCriteria = nextLevelCriteria;
            hit = text.indexOf(marker, hit + 1);
        }
    }
    return text;
}

void addGroupVariables(std::vector<clsGroupFmt>& groups, clsVariables& variables) {
    for (clsGroupFmt& group : groups) {
        clsVariable& counter = variables.Add();
        counter.setCalculation(QStringLiteral("count(*)"));
        counter.GroupCriteria = group.GroupCriteria;
        counter.NextLevelGroupCriteria = group.NextLevelGroupCriteria;
        group.DetCount = &counter;
        group.GroupFormat =
            replaceAggregates(group.GroupFormat, variables, group.GroupCriteria, group.NextLevelGroupCriteria);
    }
}

}  // namespace vantrep::report
