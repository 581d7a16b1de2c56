// A scripted Ui for tests: records every message box (text, title, icon,
// buttons) and answers from a queue of scripted answers, OK or Yes when the
// queue is empty (whichever the box offers). Counts busy and progress calls.
// File, colour and folder dialogs answer from their own queues and cancel when empty.
#pragma once

#include <QColor>
#include <QString>
#include <deque>
#include <vector>

#include "session/Ui.h"

namespace vantrep::session::testing {

struct ShownMessage {
    QString text;
    QString title;
    MessageIcon icon;
    MessageButtons buttons;
};

class FakeUi : public Ui {
public:
    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override {
        messages.push_back({text, title, icon, buttons});
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        const bool yesNo = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
        return yesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    void setBusy(bool busy) override {
        busyDepth += busy ? 1 : -1;
        ++busyCalls;
    }
    void flood(int percent) override { progress.push_back(percent); }
    QString saveFileName(const QString& title, const QString& filter, const QString& proposed) override {
        dialogs.push_back({title, filter, proposed});
        return next(saveNames, QString());
    }
    QColor chooseColor(const QColor& initial, const QString& title) override {
        dialogs.push_back({title, QString(), initial.name()});
        return next(colors, QColor());
    }
    QString browseForFolder(const QString& prompt, const QString& folderName) override {
        dialogs.push_back({prompt, QString(), folderName});
        return next(folders, QString());
    }

    std::deque<MessageAnswer> answers;  // given in order to the next message boxes
    std::vector<ShownMessage> messages;
    int busyDepth = 0;
    int busyCalls = 0;
    std::vector<int> progress;

    // What each file, colour or folder dialog was opened with: the title (a
    // folder browse: its prompt), the filter (file dialogs) and the proposed
    // name or the starting colour ("#rrggbb").
    struct ShownDialog {
        QString title;
        QString filter;
        QString proposed;
    };
    std::deque<QString> saveNames;  // the file names the save dialogs return
    std::deque<QColor> colors;      // the colours the colour dialogs return
    std::deque<QString> folders;    // the folders the folder browse dialogs return
    std::vector<ShownDialog> dialogs;

private:
    template <typename T>
    static T next(std::deque<T>& queue, T cancelled) {
        if (queue.empty()) return cancelled;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

}  // namespace vantrep::session::testing
