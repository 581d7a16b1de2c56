// What the benchmarks share: their options, a Ui that writes messages to
// standard error and answers every question yes, the private folders a Qt
// application wants when it runs without a desktop, and the median of a run.
#pragma once

#include <QColor>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "session/Ui.h"

namespace vantrep::bench {

// `--runs K` (runs per figure) and `--dir D` (the folder of the tables).
struct BenchOptions {
    int runs = 5;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "vantrep-bench";
};

// Reads the options; an unknown one prints the usage of program `name` and
// gives false.
inline bool parseBenchOptions(int argc, char** argv, const char* name, BenchOptions& options) {
    for (int i = 1; i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 < argc && option == "--runs") options.runs = std::max(1, std::atoi(argv[i + 1]));
        else if (i + 1 < argc && option == "--dir") options.dir = argv[i + 1];
        else {
            std::fprintf(stderr, "usage: %s [--runs K] [--dir D]\n", name);
            return false;
        }
    }
    return true;
}

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

// Sorts `times` and returns their median; 0 for none.
inline double median(std::vector<double>& times) {
    if (times.empty()) return 0;
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

}  // namespace vantrep::bench
