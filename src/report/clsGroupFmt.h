// One group header or group footer band of a banded report, with the fields
// that decide when its group changes. Plain data: the print run reads and
// writes it.
#pragma once

#include <QString>

namespace vantrep::report {

class clsVariable;

struct clsGroupFmt {
    QString GroupCriteria;  // fields of this level and all outer ones; may end with "*"
    QString NextLevelGroupCriteria;  // the "txt" fields of the detail band
    QString GroupValue;  // key of the group currently open
    int GroupLevel = 0;  // 1 = outermost
    QString GroupFormat;  // the band, after aggregate replacement
    QString HeaderFooter;  // "H" or "F"
    clsVariable* DetCount = nullptr;  // the record counter of this group

    QString key() const { return GroupCriteria + HeaderFooter; }
};

}  // namespace vantrep::report
