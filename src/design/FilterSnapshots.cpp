#include "design/FilterSnapshots.h"

#include <algorithm>

#include "design/FilterValues.h"

namespace vantrep::design {

bool FilterSnapshots::contains(const QString& caption) const {
    return std::any_of(snapshots_.begin(), snapshots_.end(), [&](const Snapshot& s) {
        return s.caption.compare(caption, Qt::CaseInsensitive) == 0;
    });
}

void FilterSnapshots::save(const QString& caption, const session::Session& session) {
    const int i = FieldWithValueList(session, caption);
    if (i == 0 || contains(caption)) return;
    snapshots_.push_back({caption, session.cmbField[static_cast<size_t>(i)].items, session.aDims(i).ShowOthers});
}

void FilterSnapshots::remove(const QString& caption) {
    std::erase_if(snapshots_, [&](const Snapshot& s) { return s.caption.compare(caption, Qt::CaseInsensitive) == 0; });
}

void FilterSnapshots::restore(session::Session& session) const {
    // By the caption it was taken for: item 0 of a one-value list is its value.
    for (const Snapshot& s : snapshots_) {
        const int i = FieldWithValueList(session, s.caption);
        if (i == 0) continue;
        session.cmbField[static_cast<size_t>(i)].items = s.items;
        session.aDims(i).ShowOthers = s.showOthers;
    }
}

}  // namespace vantrep::design
