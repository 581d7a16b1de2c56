// The main() of the widget test binaries: one QApplication on the offscreen
// platform with a private runtime folder, the locale pinned to US English.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        static int argc = 1;
        static char name[] = "vantrep_tests";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
        QApplication::setApplicationName("VantRep");
    }
    void TearDown() override { delete app; }

    QTemporaryDir runtime;
    QApplication* app = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);
    return RUN_ALL_TESTS();
}
