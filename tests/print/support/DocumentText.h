// Reads a recorded document back as text for assertions: the texts of a page
// grouped into lines by their baseline, left to right, joined by " | ".
#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "print/PrintDocument.h"

namespace vantrep::testing {

inline QStringList pageLines(const print::PrintDocument& document, int pageNumber) {
    std::map<long, std::vector<const print::TextItem*>> rows;
    for (const print::TextItem& item : document.pages.at(static_cast<size_t>(pageNumber - 1)).texts)
        rows[std::lround(item.origin.y())].push_back(&item);
    QStringList lines;
    for (auto& [y, items] : rows) {
        std::sort(items.begin(), items.end(),
                  [](const auto* a, const auto* b) { return a->origin.x() < b->origin.x(); });
        QStringList parts;
        for (const auto* item : items) parts.append(item->text);
        lines.append(parts.join(QStringLiteral(" | ")));
    }
    return lines;
}

// Every line of every page, each page's lines preceded by "#n".
inline QStringList documentLines(const print::PrintDocument& document) {
    QStringList lines;
    for (int page = 1; page <= document.pageCount(); ++page) {
        lines.append(QStringLiteral("#%1").arg(page));
        lines.append(pageLines(document, page));
    }
    return lines;
}

}  // namespace vantrep::testing
