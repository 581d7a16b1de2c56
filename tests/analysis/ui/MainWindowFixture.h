// A main window test: copies of the shipped sample folders in a temporary
// folder (which also holds the working copies), a scripted Ui, and a helper
// that shows the window and lets its first activation run.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <memory>

#include "analysis/ui/frmMain.h"
#include "session/Session.h"
#include "session/support/FakeUi.h"
#include "support/SampleCopy.h"

namespace vantrep::analysis::ui {

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        qputenv("TMPDIR", (temp.path() + "/tmp").toUtf8());
        QDir().mkpath(temp.path() + "/tmp");
    }
    void TearDown() override {
        window.reset();
        session.reset();
        qunsetenv("TMPDIR");
    }

    // A copy of samples/<name> in the test's folder; returns it ending in "/".
    QString copySample(const QString& name) { return vantrep::testing::copySampleFolder(name, temp.path()); }

    // Starts the program's window as `vantrep commandLine` does.
    frmMain& start(const QString& commandLine) {
        session = std::make_unique<session::Session>(ui, commandLine);
        window = std::make_unique<frmMain>(*session);
        window->resize(1000, 700);
        window->show();
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        return *window;
    }

    QTemporaryDir temp;
    session::testing::FakeUi ui;
    std::unique_ptr<session::Session> session;
    std::unique_ptr<frmMain> window;
};

}  // namespace vantrep::analysis::ui
