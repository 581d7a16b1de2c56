#include "report/BandedReport.h"

#include <optional>

#include "report/ReportGroups.h"
#include "session/Ui.h"

namespace vantrep::report {

namespace {

const QString endOfData = QStringLiteral("<EOF>");
const QString pageCriteria = QStringLiteral("When Page Changes");
const QString reportCriteria = QStringLiteral("Never Changes");

}  // namespace

BandedReport::BandedReport(print::PrintSurface& surface, session::Ui* ui)
    : surface_(surface), ui_(ui), printer_(surface, settings_) {}

void BandedReport::pageSetUp(int orientation) {
    surface_.clear();
    surface_.setPaper(Paper);
    surface_.setOrientation(orientation);
    print::PrintPen pen = surface_.pen();
    pen.color = 0;
    pen.width = 0;
    surface_.setPen(pen);
    surface_.setZoom(100);
    surface_.setTableBorder(print::TableBorder::None);
    surface_.setFont(ReportFont);
    surface_.setMargins(MarginLeft, MarginTop, MarginRight, MarginBottom);
    settings_.area = surface_.printableArea();
}

void BandedReport::printReport() {
    pageSetUp(firstOrientation());
    if (!Data) return;
    std::optional<session::BusyPointer> busy;
    if (ui_) busy.emplace(*ui_);

    data_.emplace(*Data);
    keysPosition_ = -1;
    variables_ = clsVariables();
    variables_.Data = &*data_;
    variables_.VSPrn = &surface_;
    variables_.SupperssZero = SuppressZero;
    printer_.setData(&*data_);
    printer_.setVariables(&variables_);
    printer_.setPictures(ReportGrid);
    prepareBands();

    settings_.ShowColumn = ShowColumn;
    settings_.LineSpacing = LineSpacing;
    settings_.SuppressBlankLines = SuppressBlankLines;
    settings_.SuppressZero = SuppressZero;
    settings_.pageHeader = pageHeader_;
    settings_.pageFooter = pageFooter_;
    settings_.footerReserve = 0;
    double height = 0;
    printer_.printBand(pageFooter_, true, true, false, height);
    settings_.footerReserve = height;
    const double headerWidth = printer_.printBand(pageHeader_, true, false, false, height);
    if (turnsWhenTooWide() && headerWidth > settings_.area.width()) pageSetUp(1);

    surface_.startDoc();
    printBand(reportHeader_);
    printBand(pageHeader_);
    Data->MoveFirst();
    while (!Data->Eof()) {
        groupHeaderPass();
        variables_.Update();
        printBand(DetFormat);
        Data->MoveNext();
        groupFooterPass();
    }
    printBand(pageFooter_);
    printBand(reportFooter_);
    surface_.endDoc();
}

void BandedReport::prepareBands() {
    groups_ = buildGroups(GroupCriteria, GHFormat, GFFormat, DetFormat);
    addGroupVariables(groups_, variables_);
    QString detail = detailFields(DetFormat);
    pageHeader_ = replaceAggregates(PHFormat, variables_, pageCriteria, detail);
    pageFooter_ = replaceAggregates(PFFormat, variables_, pageCriteria, detail);
    reportHeader_ = replaceAggregates(RHFormat, variables_, reportCriteria, detail);
    reportFooter_ = replaceAggregates(RFFormat, variables_, reportCriteria, detail);
}

void BandedReport::printBand(const QString& band, bool pageBreakAfter) {
    double height = 0;
    printer_.printBand(band, false, false, pageBreakAfter, height);
}

QString BandedReport::groupKey(const QString& criteria) {
    if (!data_ || data_->atEnd()) return endOfData;
    int64_t position = Data->AbsolutePosition();
    if (position != keysPosition_) {
        keys_.clear();
        keysPosition_ = position;
    }
    auto found = keys_.constFind(criteria);
    if (found != keys_.constEnd()) return *found;
    QString key = data_->joinedText(criteria);
    keys_.insert(criteria, key);
    return key;
}

clsGroupFmt* BandedReport::footerOf(const QString& criteria) {
    for (clsGroupFmt& group : groups_) {
        if (group.HeaderFooter == u"F" && group.GroupCriteria == criteria) return &group;
    }
    return nullptr;
}

void BandedReport::groupHeaderPass() {
    for (auto group = groups_.rbegin(); group != groups_.rend(); ++group) {
        if (group->HeaderFooter != u"H") continue;
        QString key = groupKey(group->GroupCriteria);
        if (key != group->GroupValue && !key.isEmpty()) {
            printBand(group->GroupFormat);
            group->GroupValue = key;
        }
        if (clsGroupFmt* footer = footerOf(group->GroupCriteria)) footer->GroupValue = key;
    }
}

void BandedReport::groupFooterPass() {
    for (clsGroupFmt& group : groups_) {
        if (group.HeaderFooter != u"F") continue;
        QString key = groupKey(group.GroupCriteria);
        if (key == group.GroupValue || key.isEmpty()) continue;
        if (group.GroupFormat.endsWith(u'*') && group.DetCount && group.DetCount->Value().asDouble() <= 0) continue;
        printBand(group.GroupFormat, group.GroupCriteria.endsWith(u'*'));
        group.GroupValue = key;
    }
}

}  // namespace vantrep::report
