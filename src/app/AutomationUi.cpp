#include "app/AutomationUi.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QWindow>
#include <cstdio>
#include <memory>

namespace vantrep::app {

using session::MessageAnswer;
using session::MessageButtons;
using session::MessageIcon;

MessageAnswer AutomationUi::message(const QString& text, const QString& title, MessageIcon icon,
                                    MessageButtons buttons) {
    QString lines = text;
    lines.replace("\r\n", "\n");
    std::fprintf(stderr, "vantrep: %s\n", qPrintable(lines));
    if (buttons != MessageButtons::Ok) return boxes_.message(text, title, icon, buttons);
    const QMessageBox::Icon boxIcon = icon == MessageIcon::Critical      ? QMessageBox::Critical
                                      : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                      : icon == MessageIcon::Information ? QMessageBox::Information
                                                                         : QMessageBox::NoIcon;
    auto* box = new QMessageBox(boxIcon, title.isEmpty() ? QApplication::applicationName() : title, lines,
                                QMessageBox::Ok, window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    return MessageAnswer::Ok;
}

QString AutomationUi::saveFileName(const QString& title, const QString& filter, const QString& proposed) {
    QFileDialog dialog(window_, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.selectFile(proposed);
    std::unique_ptr<QWindow> owner;
    if (dialogOwner_ != 0) {
        owner.reset(QWindow::fromWinId(static_cast<WId>(dialogOwner_)));
        dialog.winId();
        if (owner) dialog.windowHandle()->setTransientParent(owner.get());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

}  // namespace vantrep::app
