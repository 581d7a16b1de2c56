#include "report/BandPrinter.h"

#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <optional>

#include "engine/EngineError.h"
#include "grid/GridModel.h"
#include "print/PicturePlacement.h"
#include "report/BandText.h"
#include "report/ReportData.h"

namespace vantrep::report {

namespace {

bool printsText(const QString& kind) { return kind == u"lbl" || kind == u"txt" || kind == u"fun"; }

BandValue textValue(const QString& text) { return BandValue::of(engine::Value::string(text.toStdString())); }

// Position `index` of a "colour,style,width" text as a number, when it is there.
std::optional<double> penSetting(const QStringList& parts, int index) {
    if (index >= parts.size()) return std::nullopt;
    bool ok = false;
    double value = parts[index].trimmed().toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

}  // namespace

double BandPrinter::printBand(const QString& band, bool hidden, bool noPageBreak, bool pageBreakAfter,
                              double& rowHeight) {
    double widest = 0;
    for (const QString& line : cutText(band, lineSeparator))
        widest = std::max(widest, printLine(line, hidden, noPageBreak, rowHeight));
    if (pageBreakAfter && data_ && !data_->atEnd()) {
        double height = 0;
        printBand(settings_.pageFooter, hidden, noPageBreak, false, height);
        surface_.newPage();
        printBand(settings_.pageHeader, hidden, noPageBreak, false, height);
    }
    surface_.setCurrentX(settings_.area.left);
    return widest;
}

double BandPrinter::printLine(const QString& line, bool hidden, bool noPageBreak, double& rowHeight) {
    std::shared_ptr<const std::vector<BandItem>> parsed = parsedLine(line);
    const std::vector<BandItem>& items = *parsed;
    print::PrintTable row;
    print::TableCell plain;
    plain.font = surface_.font();
    row.cells.assign(items.size(), plain);
    double lineWidth = 0;
    double lineHeight = 0;
    bool blank = true;
    bool broke = false;  // a line moves to a new page at most once
    for (size_t c = 0; c < items.size(); ++c) {
        BandItem item = items[c];
        bool textItem = printsText(item.kind);
        std::optional<BandValue> evaluated;
        if (textItem && (item.width == 0 || item.height == 0)) {
            print::PrintFont font = surface_.font();
            font.name = item.fontName;
            font.size = item.fontSize;
            font.bold = item.bold;
            QString measured = item.text;
            if (item.kind == u"fun") {
                evaluated = evaluateFunction(item.text, sources());
                measured = bandValueText(*evaluated, QString());
            }
            if (item.width == 0) item.width = surface_.measure().textWidth(font, measured) + 100;
            if (item.height == 0) item.height = surface_.measure().textHeight(font, measured) + 20;
        }
        QImage picture;
        if (item.kind == u"img") {
            picture = pictureAt(item.text);
            QSizeF size = print::pictureSizeTwips(picture);
            if (item.width == 0) item.width = size.width();
            if (item.height == 0) item.height = size.height();
        }
        // Checked before pictures and lines are drawn, so that they go to the
        // page their row goes to.
        if (!noPageBreak && !hidden && !broke && !breaking_ && surface_.documentOpen()) {
            double spacing = settings_.LineSpacing > 0 ? settings_.LineSpacing : 0;
            if (surface_.currentY() + item.height + spacing > settings_.area.bottom - settings_.footerReserve) {
                breakPage();
                broke = true;
            }
        }
        print::TableCell& cell = row.cells[c];
        if (textItem) {
            cell.text = cellText(item, evaluated ? &*evaluated : nullptr);
            cell.attribute = item.cellAttribute;
            cell.font = item.font();
        } else if (item.kind == u"img" && !hidden) {
            surface_.drawPicture(picture, surface_.currentX(), surface_.currentY(), item.width, item.height, item.align);
        } else if (item.kind == u"lin" && !hidden) {
            drawLineItem(item);
        }
        cell.width = item.width;
        cell.align = item.align;
        cell.color = item.color;
        lineHeight = std::max(lineHeight, item.height);
        lineWidth += item.width;
        if (settings_.SuppressZero && cell.text == u"0") cell.text.clear();
        if (!cell.text.trimmed().isEmpty()) blank = false;
    }
    row.rowHeight = lineHeight;
    row.hidden = hidden || (settings_.SuppressBlankLines && blank);
    surface_.setTableBorder(settings_.ShowColumn ? print::TableBorder::All : print::TableBorder::None);
    surface_.startTable(static_cast<int>(row.cells.size())) = row;
    surface_.endTable();
    if (settings_.LineSpacing > 0) {
        print::PrintTable& spacing = surface_.startTable(1);
        spacing.rowHeight = settings_.LineSpacing;
        spacing.hidden = hidden;
        surface_.endTable();
    }
    surface_.setCurrentX(settings_.area.left);
    rowHeight = lineHeight;
    return lineWidth;
}

std::shared_ptr<const std::vector<BandItem>> BandPrinter::parsedLine(const QString& line) {
    if (!(parsedWith_ == surface_.font())) {
        parsedLines_.clear();
        parsedWith_ = surface_.font();
    }
    auto found = parsedLines_.constFind(line);
    if (found != parsedLines_.constEnd()) return *found;
    auto items = std::make_shared<std::vector<BandItem>>();
    for (const QString& item : cutText(line, itemSeparator)) items->push_back(parseBandItem(item, surface_.font()));
    parsedLines_.insert(line, items);
    return items;
}

void BandPrinter::breakPage() {
    breaking_ = true;
    double height = 0;
    printBand(settings_.pageFooter, false, true, false, height);
    surface_.newPage();
    printBand(settings_.pageHeader, false, true, false, height);
    breaking_ = false;
}

void BandPrinter::drawLineItem(const BandItem& item) {
    print::PrintPen saved = surface_.pen();
    print::PrintPen pen = saved;
    QStringList parts = item.format.split(u',');
    if (auto color = penSetting(parts, 0)) pen.color = static_cast<int>(*color);
    if (auto style = penSetting(parts, 1)) pen.style = static_cast<int>(*style);
    if (auto width = penSetting(parts, 2)) pen.width = *width;
    surface_.setPen(pen);
    double x = surface_.currentX();
    double y = surface_.currentY();
    if (item.align == 2) surface_.drawLine(x, y, x + item.width, y);
    if (item.align == 3) surface_.drawLine(x, y, x, y + item.height);
    if (item.align == 5) surface_.drawLine(x, y, x + item.width, y + item.height);
    surface_.setPen(saved);
}

QString BandPrinter::cellText(const BandItem& item, const BandValue* evaluated) {
    try {
        if (item.kind == u"lbl") {
            QString text = item.maxChars > 0 ? item.text.left(item.maxChars) : item.text;
            return item.format.isEmpty() ? text : bandValueText(textValue(text), item.format);
        }
        if (item.kind == u"txt") {
            QString name = item.text;
            if (name.endsWith(u'*')) name.chop(1);
            std::optional<engine::Value> value = data_ ? data_->value(name) : std::nullopt;
            if (!value) return {};
            if (item.maxChars > 0) {
                QString text = valueText(*value).left(item.maxChars);
                return item.format.isEmpty() ? text : bandValueText(textValue(text), item.format);
            }
            return bandValueText(BandValue::of(*value), item.format);
        }
        BandValue value = evaluated ? *evaluated : evaluateFunction(item.text, sources());
        return bandValueText(value, item.format);
    } catch (const engine::EngineError&) {
        return {};  // a field or function that fails prints an empty cell
    }
}

QImage BandPrinter::pictureAt(const QString& position) const {
    if (!pictures_) return {};
    QStringList parts = position.split(u',');
    if (parts.size() < 2) return {};
    bool rowOk = false;
    bool colOk = false;
    int row = parts[0].trimmed().toInt(&rowOk);
    int col = parts[1].trimmed().toInt(&colOk);
    if (!rowOk || !colOk || row < 0 || col < 0 || row >= pictures_->rows() || col >= pictures_->cols()) return {};
    QVariant data = pictures_->cellData(row, col);
    return data.canConvert<QImage>() ? data.value<QImage>() : QImage();
}

}  // namespace vantrep::report
