// The value lists of the fields filtered since the designer opened, as they
// were before their first filter change, so that closing the designer can
// take those changes back. One snapshot per field caption (captions compared
// without regard to case).
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "session/Session.h"

namespace vantrep::design {

class FilterSnapshots {
public:
    bool contains(const QString& caption) const;
    // `SaveFilterSnapshot`: the value list and ShowOthers of the field of
    // caption `caption`; nothing when the caption names no field with a list.
    void save(const QString& caption, const session::Session& session);
    void remove(const QString& caption);
    // Every field back to its snapshot: value list and ShowOthers.
    void restore(session::Session& session) const;
    bool empty() const { return snapshots_.empty(); }

private:
    struct Snapshot {
        QString caption;
        QStringList items;
        bool showOthers = false;
    };
    std::vector<Snapshot> snapshots_;
};

}  // namespace vantrep::design
