// The kinds of chart the chart window draws, with the names its toolbar
// buttons and the command line use for them.
#pragma once

#include <QString>

#include <optional>

namespace vantrep::graph {

enum class ChartKind {
    Line,         // "line"
    Area,         // "area"
    StackedArea,  // "sarea": areas stacked to 100 %, the value axis in percent
    Radar,        // "radar": a line per series around a polar chart
};

QString chartKindName(ChartKind kind);
// The kind named `name` ("line", "area", "sarea", "radar"); none for any other text.
std::optional<ChartKind> chartKindFromName(const QString& name);

}  // namespace vantrep::graph
