// The application object the print and report tests need for fonts and
// painting, made once for the whole test binary (offscreen, no display),
// with the locale pinned to US English.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>

#include <memory>

namespace vantrep::testing {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QString runtime = QDir::tempPath() + QStringLiteral("/vantrep-print-tests-runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "vantrep-tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

// The main() of a test binary that needs the application object.
inline int runTestsWithGui(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
    return RUN_ALL_TESTS();
}

}  // namespace vantrep::testing
