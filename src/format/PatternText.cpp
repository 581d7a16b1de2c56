#include "format/PatternText.h"

namespace vantrep::format {

std::vector<PatternChar> readPattern(const QString& pattern) {
    std::vector<PatternChar> chars;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        QChar c = pattern[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted) {
            chars.push_back({c, true});
        } else if (c == u'\\') {
            if (i + 1 < pattern.size()) chars.push_back({pattern[++i], true});
        } else {
            chars.push_back({c, false});
        }
    }
    return chars;
}

bool isNumberPattern(const std::vector<PatternChar>& chars) {
    for (const PatternChar& pc : chars) {
        if (!pc.literal && (pc.ch == u'#' || pc.ch == u'0')) return true;
    }
    return false;
}

}  // namespace vantrep::format
