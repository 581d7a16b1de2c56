#include "report/ui/frmPrint.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QIcon>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "engine/EngineError.h"
#include "print/DocumentFind.h"
#include "print/PagePainter.h"
#include "print/PdfWriter.h"
#include "report/ChartPage.h"
#include "report/PageStamp.h"
#include "report/ui/PreviewPage.h"
#include "report/ui/frmPageSetup.h"
#include "report/ui/frmTitleSettings.h"

namespace vantrep::report::ui {

namespace {

// Room kept below a find hit when it is scrolled into view, in twips.
constexpr double belowHit = 500;
const int zoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300};

}  // namespace

frmPrint::frmPrint(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow), report_(VP_), grid_(VP_) {
    setObjectName("frmPrint");
    installPageEvents(VP_, grid_.CdlgTitle1);

    page_ = new PreviewPage;
    page_->setDocument(&VP_.document());
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("previewArea");
    scroll_->setWidget(page_);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->installEventFilter(this);
    scroll_->viewport()->installEventFilter(this);
    page_->installEventFilter(this);

    menu_ = new QMenu(this);
    menu_->setObjectName("menu");
    mnuFind_ = menu_->addAction("&Find", this, &frmPrint::mnuFind_Click);
    mnuFind_->setObjectName("mnuFind");
    mnuFindNext_ = menu_->addAction("Find &Next", this, &frmPrint::mnuFindNext_Click);
    mnuFindNext_->setObjectName("mnuFindNext");
    mnuSep1_ = menu_->addSeparator();
    mnuSep1_->setObjectName("mnuSep1");
    mnuTitle_ = menu_->addAction("&Title Settings", this, &frmPrint::mnuTitle_Click);
    mnuTitle_->setObjectName("mnuTitle");
    menu_->addSeparator()->setObjectName("mnuSep2");
    mnuPageSetup_ = menu_->addAction("Page Set&up...", this, &frmPrint::mnuPageSetup_Click);
    mnuPageSetup_->setObjectName("mnuPageSetup");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolbar_ = buildToolbar();
    layout->addWidget(toolbar_);
    layout->addWidget(scroll_, 1);

    askFindText = [this] {
        bool ok = false;
        QString text = QInputDialog::getText(this, QString(), "Find What ?", QLineEdit::Normal, findText_, &ok);
        return ok ? text : QString();
    };
    askPdfPath = [this] {
        return QFileDialog::getSaveFileName(this, "Save as PDF", QString(), "PDF Files (*.pdf)");
    };
    showInformation = [this](const QString& text, const QString& title) {
        QMessageBox::information(this, title, text);
    };
    showTitleDialog = [](frmTitleSettings& dialog) { dialog.exec(); };
    resize(900, 700);
}

frmPrint::~frmPrint() = default;

QToolBar* frmPrint::buildToolbar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName("previewToolbar");
    bar->setIconSize(QSize(20, 20));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addAction(QIcon::fromTheme("document-print"), "Print...", this, &frmPrint::printDocument)
        ->setObjectName("print");
    bar->addAction(QIcon::fromTheme("document-save-as"), "Save as PDF...", this, &frmPrint::saveAsPdf)
        ->setObjectName("savePdf");
    bar->addAction(QIcon::fromTheme("document-page-setup"), "Page Setup...", this, &frmPrint::mnuPageSetup_Click)
        ->setObjectName("pageSetup");
    bar->addSeparator();
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->addAction(QIcon::fromTheme("go-first"), "First Page", this, [this] { showPage(1); });
    bar->addAction(QIcon::fromTheme("go-previous"), "Previous Page", this, [this] { showPage(currentPage() - 1); });
    pageLabel_ = new QLabel(bar);
    pageLabel_->setObjectName("pageLabel");
    pageLabel_->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(pageLabel_);
    bar->addAction(QIcon::fromTheme("go-next"), "Next Page", this, [this] { showPage(currentPage() + 1); });
    bar->addAction(QIcon::fromTheme("go-last"), "Last Page", this, [this] { showPage(pageCount()); });
    bar->addSeparator();
    bar->addAction(QIcon::fromTheme("zoom-out"), "Zoom Out", this, [this] {
        for (auto step = std::rbegin(zoomSteps); step != std::rend(zoomSteps); ++step)
            if (*step < zoom()) return setZoom(*step);
    });
    bar->addAction(QIcon::fromTheme("zoom-in"), "Zoom In", this, [this] {
        for (int step : zoomSteps)
            if (step > zoom()) return setZoom(step);
    });
    bar->addAction(QIcon::fromTheme("edit-find"), "Find", this, &frmPrint::mnuFind_Click);
    return bar;
}

void frmPrint::load() {
    if (mainWindow_) setWindowTitle("Print Preview of " + mainWindow_->windowTitle());
    layOut([this] {
        if (!report_.Data) grid_.startTitles(mainWindow_ ? mainWindow_->windowTitle() : QString());
        printShown();
    });
}

void frmPrint::RenderChart(const QImage& chart) {
    if (mainWindow_) setWindowTitle("Print Preview of " + mainWindow_->windowTitle());
    chartShown_ = true;
    chart_ = chart;
    layOut([this] { printShown(); });
}

void frmPrint::layOut(const std::function<void()>& print) {
    markings_.clear();
    findPage_ = 0;
    findY_ = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct NormalPointer {
        ~NormalPointer() { QApplication::restoreOverrideCursor(); }
    } normalPointer;
    print();
    refresh();
}

void frmPrint::printShown() {
    if (report_.Data) {
        report_.printReport();
    } else if (chartShown_) {
        grid_.pageSetUp(grid_.firstOrientation());
        printChartPage(VP_, grid_.ReportCriteria, chart_, grid_.GridFont);
    } else {
        grid_.printGridReport();
    }
}

void frmPrint::refresh() {
    page_->setDocument(&VP_.document());
    page_->setZoom(VP_.document().zoom > 0 ? VP_.document().zoom : 100);
    showPage(std::clamp(currentPage(), 1, std::max(1, pageCount())));
}

int frmPrint::currentPage() const { return page_->page(); }

void frmPrint::showPage(int page) {
    if (page < 1 || page > pageCount()) return;
    if (page != page_->page()) scroll_->verticalScrollBar()->setValue(0);
    page_->setPage(page);
    auto marked = markings_.find(page);
    page_->setOverlay(marked == markings_.end() ? QRectF() : marked->second);
    updatePageLabel();
}

void frmPrint::updatePageLabel() {
    pageLabel_->setText(QString("Page %1 of %2").arg(currentPage()).arg(pageCount()));
}

int frmPrint::zoom() const { return page_->zoom(); }

void frmPrint::setZoom(int percent) { page_->setZoom(percent); }

void frmPrint::search(const QString& text) {
    if (!text.isEmpty() && text != findText_) {
        // A new text starts from the top; the old text's marking goes.
        if (findPage_ >= 1) markings_.erase(findPage_);
        findText_ = text;
        findPage_ = 0;
        findY_ = 0;
    }
    if (findText_.isEmpty()) return;
    print::FindHit hit = print::findText(VP_.document(), findText_, findPage_, findY_, VP_.measure());
    if (hit.page > 0) {
        if (findPage_ >= 1 && findPage_ != hit.page) markings_.erase(findPage_);
        findPage_ = static_cast<qint16>(hit.page);
        findY_ = hit.rect.bottom();
        markings_[hit.page] = hit.rect;
        showPage(hit.page);
        page_->setOverlay(hit.rect);
        scrollToMarking(hit.rect);
        return;
    }
    showInformation(findPage_ != 0 ? "Whole document has been searched" : "Search text not found", "Not Found");
    findPage_ = 0;
    findY_ = 0;
}

void frmPrint::scrollToMarking(const QRectF& rect) {
    const double s = page_->scale();
    const QRectF shown(rect.left() * s, rect.top() * s, rect.width() * s, (rect.height() + belowHit) * s);
    scroll_->ensureVisible(qRound(shown.center().x()), qRound(shown.bottom()), qRound(shown.width() / 2), 10);
    scroll_->ensureVisible(qRound(shown.center().x()), qRound(shown.top()), qRound(shown.width() / 2), 10);
}

void frmPrint::removeMarking() {
    markings_.erase(currentPage());
    page_->setOverlay(QRectF());
}

QRectF frmPrint::marking(int page) const {
    auto found = markings_.find(page);
    return found == markings_.end() ? QRectF() : found->second;
}

void frmPrint::mnuFind_Click() {
    const QString text = askFindText();
    if (!text.isEmpty()) search(text);
}

void frmPrint::mnuFindNext_Click() { search(findText_); }

void frmPrint::mnuTitle_Click() {
    if (!gridReportShown()) return;
    frmTitleSettings dialog(this);
    dialog.Title1 = &grid_.CdlgTitle1;
    dialog.Title2 = &grid_.CdlgTitle2;
    dialog.MainTitle = "MainTitle";
    dialog.SubTitle = "SubTitle";
    dialog.ShowAlignment = true;
    dialog.setWindowTitle("Title Settings");
    showTitleDialog(dialog);
    if (!dialog.SaveTitle()) return;
    VP_.header().text = grid_.CdlgTitle1.Tag;
    layOut([this] { printShown(); });
}

PageSetup& frmPrint::pageSetup() {
    if (report_.Data) return report_;
    return grid_;
}

void frmPrint::mnuPageSetup_Click() {
    frmPageSetup dialog(pageSetup(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    applyPageSetup(dialog.pageSetup());
}

void frmPrint::applyPageSetup(const PageSetup& setup) {
    pageSetup() = setup;
    try {
        layOut([this] { printShown(); });
    } catch (const engine::EngineError& error) {
        refresh();
        showInformation(QString::fromStdString(error.description()), "Page Setup");
    }
}

QMenu* frmPrint::preparedMenu() {
    mnuSep1_->setVisible(gridReportShown());
    mnuTitle_->setVisible(gridReportShown());
    return menu_;
}

bool frmPrint::handleKey(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_F:
        if (!ctrl) return false;
        mnuFind_Click();
        return true;
    case Qt::Key_F3:
        mnuFindNext_Click();
        return true;
    case Qt::Key_Escape:
        removeMarking();
        return true;
    case Qt::Key_T:
        if (!ctrl) return false;
        mnuTitle_Click();
        return true;
    case Qt::Key_PageDown:
        showPage(currentPage() + 1);
        return true;
    case Qt::Key_PageUp:
        showPage(currentPage() - 1);
        return true;
    case Qt::Key_Home:
        if (!ctrl) return false;
        showPage(1);
        return true;
    case Qt::Key_End:
        if (!ctrl) return false;
        showPage(pageCount());
        return true;
    default:
        return false;
    }
}

void frmPrint::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event)) QDialog::keyPressEvent(event);
}

bool frmPrint::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event))) return true;
    return QDialog::eventFilter(watched, event);
}

void frmPrint::contextMenuEvent(QContextMenuEvent* event) { preparedMenu()->popup(event->globalPos()); }

void frmPrint::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!laidOut_) takeMainWindowLayout();
    scroll_->setFocus();
}

void frmPrint::takeMainWindowLayout() {
    laidOut_ = true;
    if (!mainWindow_) return;
    setGeometry(mainWindow_->geometry());
}

void frmPrint::printDocument() {
    const print::PrintDocument& document = VP_.document();
    if (document.pageCount() == 0) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(document.paper);
    printer.setPageOrientation(document.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setFromTo(1, document.pageCount());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, document.pageCount());
    if (dialog.exec() != QDialog::Accepted) return;
    printOn(printer);
}

void frmPrint::printOn(QPrinter& printer) {
    const PageSetup wanted = setupForPrinter(pageSetup(), printer.pageLayout(), VP_.document().orientation);
    if (wanted != pageSetup()) applyPageSetup(wanted);
    const print::PrintDocument& document = VP_.document();
    if (document.pageCount() == 0) return;
    printer.setFullPage(true);
    printer.setPageSize(document.paper);
    printer.setPageOrientation(document.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    // A range chosen before a new lay-out keeps within the pages there are.
    const int first = std::clamp(printer.fromPage(), 1, document.pageCount());
    const int last = printer.toPage() > 0 ? std::clamp(printer.toPage(), first, document.pageCount())
                                          : document.pageCount();
    QPainter painter(&printer);
    if (!painter.isActive()) return;
    const double s = printer.resolution() / 1440.0;
    painter.scale(s, s);
    for (int page = first; page <= last; ++page) {
        if (page > first) printer.newPage();
        print::paintPage(painter, document, page);
    }
}

void frmPrint::saveAsPdf() {
    QString path = askPdfPath();
    if (path.isEmpty()) return;
    if (!path.endsWith(".pdf", Qt::CaseInsensitive)) path += ".pdf";
    if (!print::writePdf(VP_.document(), path, windowTitle()))
        QMessageBox::warning(this, "Save as PDF", "The file " + path + " could not be written.");
}

}  // namespace vantrep::report::ui
