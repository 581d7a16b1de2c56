#include "app/ExportCommand.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <cstdio>

#include "analysis/DetailedListing.h"
#include "analysis/QueryBuilder.h"
#include "analysis/SummaryGrid.h"
#include "engine/EngineError.h"
#include "grid/GridText.h"
#include "session/StartUp.h"

namespace vantrep::app {

namespace {

// Messages that would be message boxes go to standard error.
class ConsoleUi : public session::Ui {
public:
    session::MessageAnswer message(const QString& text, const QString&, session::MessageIcon,
                                   session::MessageButtons buttons) override {
        QString oneLine = text;
        oneLine.replace("\r\n", " ");
        std::fprintf(stderr, "%s\n", qPrintable(oneLine));
        bool yesNo = buttons == session::MessageButtons::YesNo || buttons == session::MessageButtons::YesNoCancel;
        return yesNo ? session::MessageAnswer::Yes : session::MessageAnswer::Ok;
    }
    void setBusy(bool) override {}
    void flood(int) override {}
};

// Text widths in twips from the application font's metrics, made once.
class FontMeasure : public grid::TextMeasure {
public:
    FontMeasure() : normal_(QFont()), bold_(boldFont()) {}
    int widthTwips(const QString& text, bool bold) override {
        return (bold ? bold_ : normal_).horizontalAdvance(text) * 15;  // 96 dpi pixels to twips
    }

private:
    static QFont boldFont() {
        QFont font;
        font.setBold(true);
        return font;
    }
    QFontMetrics normal_, bold_;
};

}  // namespace

int RunExport(const QString& out, const QString& reportArgument) {
    grid::TextLayout layout;
    if (out.endsWith(".tsv", Qt::CaseInsensitive))
        layout = grid::TextLayout::Tsv;
    else if (out.endsWith(".csv", Qt::CaseInsensitive))
        layout = grid::TextLayout::Csv;
    else {
        std::fprintf(stderr, "Cannot export to \"%s\": the file name must end in .tsv or .csv.\n", qPrintable(out));
        return 2;
    }
    ConsoleUi ui;
    session::Session session(ui, reportArgument);
    session::OpenOutcome outcome = session::FirstActivation(session);
    if (!session::RunsFirstQuery(session, outcome)) {
        session::CloseSession(session);
        if (outcome == session::OpenOutcome::Idle) std::fprintf(stderr, "No report to export.\n");
        return outcome == session::OpenOutcome::Fatal || outcome == session::OpenOutcome::Idle ? 1 : 0;
    }
    grid::GridModel grid;
    FontMeasure measure;
    if (session.bDetailed) {
        QImage clipButton(16, 16, QImage::Format_ARGB32);
        clipButton.fill(Qt::transparent);
        analysis::FillDetailed(session, grid, measure, clipButton);
    } else {
        analysis::CrossTabQuery query =
            analysis::RunQuery(session.aDims, session.cmbField, session.aVars, QString(), session.sDataFile);
        analysis::FillSummary(session, query, grid, measure, false);
    }
    int status = 0;
    try {
        grid::WriteGridText(grid, out, layout);
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    session::CloseSession(session);
    return status;
}

}  // namespace vantrep::app
