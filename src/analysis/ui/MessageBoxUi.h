// The session's Ui for the windows: message boxes over the main window, the
// hourglass pointer, the main window's progress bar for long fills, and the
// file and colour dialogs over the active window.
#pragma once

#include <QPointer>
#include <QProgressBar>
#include <QWidget>

#include "session/Ui.h"

namespace vantrep::analysis::ui {

class MessageBoxUi : public session::Ui {
public:
    // The window that owns the message boxes and the bar that shows progress.
    void attach(QWidget* window, QProgressBar* progress);

    session::MessageAnswer message(const QString& text, const QString& title, session::MessageIcon icon,
                                   session::MessageButtons buttons) override;
    void setBusy(bool busy) override;
    void flood(int percent) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& proposed) override;
    QColor chooseColor(const QColor& initial, const QString& title) override;
    QString browseForFolder(const QString& prompt, const QString& folderName) override;

private:
    QPointer<QWidget> window_;
    QPointer<QProgressBar> progress_;
    int shown_ = 0;
};

}  // namespace vantrep::analysis::ui
