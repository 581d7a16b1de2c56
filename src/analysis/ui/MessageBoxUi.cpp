#include "analysis/ui/MessageBoxUi.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "design/ui/frmBrowseDlg.h"

namespace vantrep::analysis::ui {

using session::MessageAnswer;
using session::MessageButtons;
using session::MessageIcon;

void MessageBoxUi::attach(QWidget* window, QProgressBar* progress) {
    window_ = window;
    progress_ = progress;
}

MessageAnswer MessageBoxUi::message(const QString& text, const QString& title, MessageIcon icon,
                                    MessageButtons buttons) {
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::None: break;
    case MessageIcon::Critical: boxIcon = QMessageBox::Critical; break;
    case MessageIcon::Question: boxIcon = QMessageBox::Question; break;
    case MessageIcon::Exclamation: boxIcon = QMessageBox::Warning; break;
    case MessageIcon::Information: boxIcon = QMessageBox::Information; break;
    }
    QMessageBox::StandardButtons choice = QMessageBox::Ok;
    switch (buttons) {
    case MessageButtons::Ok: break;
    case MessageButtons::OkCancel: choice = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::YesNo: choice = QMessageBox::Yes | QMessageBox::No; break;
    case MessageButtons::YesNoCancel: choice = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QString lines = text;
    lines.replace("\r\n", "\n");
    QMessageBox box(boxIcon, title.isEmpty() ? QApplication::applicationName() : title, lines, choice, window_);
    // A message during long work is read with the normal pointer.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (busy) QApplication::restoreOverrideCursor();
    switch (answer) {
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return MessageAnswer::Ok;
    }
}

namespace {

// Dialogs belong to the window the user works in (the chart window, say),
// else to the main window.
QWidget* dialogOwner(QWidget* mainWindow) {
    QWidget* active = QApplication::activeWindow();
    return active ? active : mainWindow;
}

}  // namespace

QString MessageBoxUi::saveFileName(const QString& title, const QString& filter, const QString& proposed) {
    QFileDialog dialog(dialogOwner(window_), title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

QString MessageBoxUi::browseForFolder(const QString& prompt, const QString& folderName) {
    design::ui::frmBrowseDlg dialog(*this, window_);
    dialog.setPrompt1(prompt);
    dialog.setStructFile(folderName);
    return dialog.Browse() ? dialog.SelectedFolder() : QString();
}

QColor MessageBoxUi::chooseColor(const QColor& initial, const QString& title) {
    return QColorDialog::getColor(initial, dialogOwner(window_), title);
}

void MessageBoxUi::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MessageBoxUi::flood(int percent) {
    if (!progress_ || percent == shown_) return;
    shown_ = percent;
    progress_->setValue(percent);
    // The fill runs without the event loop: paint the bar now.
    progress_->repaint();
}

}  // namespace vantrep::analysis::ui
