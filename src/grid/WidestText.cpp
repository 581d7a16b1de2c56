#include "grid/WidestText.h"

#include <algorithm>

namespace vantrep::grid {

namespace {

char16_t shapeOf(char16_t c, bool digitsAlike) {
    return digitsAlike && c >= u'0' && c <= u'9' ? u'0' : c;
}

bool sameShape(CellText a, QStringView b, bool digitsAlike) {
    if (a.size() != b.size()) return false;
    const QChar* y = b.constData();
    for (qsizetype i = 0; i < a.size(); ++i)
        if (shapeOf(a.at(i), digitsAlike) != shapeOf(y[i].unicode(), digitsAlike)) return false;
    return true;
}

}  // namespace

WidestText::WidestText(TextMeasure& measure)
    : measure_(measure),
      digitsAlike_(measure.digitsShareOneWidth()),
      shapes_(64, ShapeHash{}, ShapeEqual{digitsAlike_}) {}

bool WidestText::ShapeEqual::operator()(const Shape& a, const Shape& b) const {
    return a.bold == b.bold && sameShape(a.text, b.text, digitsAlike);
}

void WidestText::add(CellText text, bool bold) {
    // A text of the shape added last (often the very text of the cell above,
    // or a number of the same digit pattern) is known already.
    if (!last_.isNull() && bold == lastBold_ && sameShape(text, last_, digitsAlike_)) return;
    last_.resize(text.size());  // keeps the copy's storage when it is large enough
    text.copyTo(reinterpret_cast<char16_t*>(last_.data()));
    lastBold_ = bold;
    // FNV-1a over the shape's characters.
    std::size_t hash = bold ? 0x84222325cbf29ce4ull : 0xcbf29ce484222325ull;
    const QChar* chars = last_.constData();
    for (qsizetype i = 0; i < last_.size(); ++i) {
        hash ^= shapeOf(chars[i].unicode(), digitsAlike_);
        hash *= 0x100000001b3ull;
    }
    if (shapes_.contains(Shape{last_, bold, hash})) return;
    texts_.emplace_back(last_.constData(), last_.size());
    shapes_.insert(Shape{texts_.back(), bold, hash});
}

int WidestText::widest() {
    int widest = 0;
    for (const Shape& shape : shapes_) widest = std::max(widest, measure_.widthTwips(shape.text.toString(), shape.bold));
    return widest;
}

}  // namespace vantrep::grid
