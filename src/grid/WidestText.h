// The widest of many cell texts, measured exactly but not one by one: texts
// that must measure the same (the same text and boldness, or the same text
// but for its digits when the measure says digits are interchangeable) are
// measured once.
#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <unordered_set>
#include <vector>

#include "grid/CellText.h"
#include "grid/TextMeasure.h"

namespace vantrep::grid {

class WidestText {
public:
    explicit WidestText(TextMeasure& measure);

    void add(QStringView text, bool bold) { add(CellText(text), bold); }
    void add(CellText text, bool bold);
    // The widest width among the added texts, in twips; 0 when none.
    int widest();

private:
    struct Shape {
        QStringView text;  // the first text seen of this shape, held in texts_
        bool bold;
        std::size_t hash;
    };
    struct ShapeHash {
        std::size_t operator()(const Shape& shape) const { return shape.hash; }
    };
    struct ShapeEqual {
        bool digitsAlike;
        bool operator()(const Shape& a, const Shape& b) const;
    };

    TextMeasure& measure_;
    bool digitsAlike_;
    // A copy of the text added last: a column often repeats the cell above,
    // or its shape, and such a repeat is known without hashing it.
    QString last_;
    bool lastBold_ = false;
    std::vector<QString> texts_;  // one per shape
    std::unordered_set<Shape, ShapeHash, ShapeEqual> shapes_;
};

}  // namespace vantrep::grid
