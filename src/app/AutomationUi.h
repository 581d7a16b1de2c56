// The session's Ui while the program serves automation clients. A client's
// call must come back while the message it caused stays on screen, so a
// message that only asks for OK is shown without waiting for it; every
// message is also written to standard error, the server's log. The save
// dialog of the spreadsheet export can belong to a client's window.
#pragma once

#include "analysis/ui/MessageBoxUi.h"

namespace vantrep::app {

class AutomationUi : public session::Ui {
public:
    // `boxes` shows the messages that need an answer, the pointer and the
    // progress.
    explicit AutomationUi(analysis::ui::MessageBoxUi& boxes) : boxes_(boxes) {}

    // The window that owns the messages and the save dialog, and the bar that
    // shows progress.
    void attach(QWidget* window, QProgressBar* progress) {
        window_ = window;
        boxes_.attach(window, progress);
    }
    // The X11 id of a client's window that owns the next save dialogs; 0 for
    // the attached window.
    void setDialogOwner(qint64 windowId) { dialogOwner_ = windowId; }

    session::MessageAnswer message(const QString& text, const QString& title, session::MessageIcon icon,
                                   session::MessageButtons buttons) override;
    void setBusy(bool busy) override { boxes_.setBusy(busy); }
    void flood(int percent) override { boxes_.flood(percent); }
    QString saveFileName(const QString& title, const QString& filter, const QString& proposed) override;
    QColor chooseColor(const QColor& initial, const QString& title) override {
        return boxes_.chooseColor(initial, title);
    }
    QString browseForFolder(const QString& prompt, const QString& folderName) override {
        return boxes_.browseForFolder(prompt, folderName);
    }

private:
    analysis::ui::MessageBoxUi& boxes_;
    QPointer<QWidget> window_;
    qint64 dialogOwner_ = 0;
};

}  // namespace vantrep::app
