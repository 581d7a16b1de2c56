#include "graph/ChartKind.h"

namespace vantrep::graph {

namespace {

struct NamedKind {
    ChartKind kind;
    const char* name;
};

constexpr NamedKind kinds[] = {
    {ChartKind::Line, "line"},
    {ChartKind::Area, "area"},
    {ChartKind::StackedArea, "sarea"},
    {ChartKind::Radar, "radar"},
};

}  // namespace

QString chartKindName(ChartKind kind) {
    for (const NamedKind& named : kinds)
        if (named.kind == kind) return QString::fromLatin1(named.name);
    return QString();
}

std::optional<ChartKind> chartKindFromName(const QString& name) {
    for (const NamedKind& named : kinds)
        if (name == QLatin1String(named.name)) return named.kind;
    return std::nullopt;
}

}  // namespace vantrep::graph
