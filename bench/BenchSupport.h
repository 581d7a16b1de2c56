// What the benchmarks that run the program in their own process share: a Ui
// that writes messages to standard error and answers every question yes, and
// the private folders a Qt application wants when it runs without a desktop.
#pragma once

#include <QColor>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench/BenchOptions.h"
#include "session/Ui.h"

namespace vantrep::bench {

class QuietUi : public session::Ui {
public:
    session::MessageAnswer message(const QString& text, const QString&, session::MessageIcon,
                                   session::MessageButtons) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return session::MessageAnswer::Yes;
    }
    void setBusy(bool) override {}
    void flood(int) override {}
    QString saveFileName(const QString&, const QString&, const QString&) override { return QString(); }
    QColor chooseColor(const QColor&, const QString&) override { return QColor(); }
    QString browseForFolder(const QString&, const QString&) override { return QString(); }
};

// The offscreen platform, TMPDIR = `tmp` and a private runtime folder in it,
// set before the Qt application is made.
inline void prepareHeadlessRun(const std::filesystem::path& tmp) {
    std::filesystem::create_directories(tmp);
    setenv("TMPDIR", tmp.c_str(), 1);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        const std::filesystem::path runtime = tmp / "runtime";
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
}

}  // namespace vantrep::bench
