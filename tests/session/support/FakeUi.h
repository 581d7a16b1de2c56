// A scripted Ui for tests: records every message box (text, title, icon,
// buttons) and answers from a queue of scripted answers, OK or Yes when the
// queue is empty (whichever the box offers). Counts busy and progress calls.
#pragma once

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

    std::deque<MessageAnswer> answers;  // given in order to the next message boxes
    std::vector<ShownMessage> messages;
    int busyDepth = 0;
    int busyCalls = 0;
    std::vector<int> progress;
};

}  // namespace vantrep::session::testing
