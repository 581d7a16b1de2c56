// The desktop shell: the messages of failed open requests, opening a file that
// is not there, and moving files to the trash with and without a question.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "session/Shell.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

using testing::FakeUi;

TEST(ShellErrorText, NamedResultsHaveTheirOwnNumbers) {
    EXPECT_EQ(shellErrorText(0), "7-Out of memory");
    EXPECT_EQ(shellErrorText(8), "7-Out of memory");
    EXPECT_EQ(shellErrorText(2), "53-File not found");
    EXPECT_EQ(shellErrorText(3), "76-Path not found");
    EXPECT_EQ(shellErrorText(5), "75-Path/file access error");
    EXPECT_EQ(shellErrorText(26), "75-A sharing violation occurred.");
    EXPECT_EQ(shellErrorText(28),
              "286-The file could not be opened due to time out. Please try again in a moment.");
    EXPECT_EQ(shellErrorText(29),
              "285-The file could not be opened because the DDE transaction failed. Please try again in a moment.");
    EXPECT_EQ(shellErrorText(30), "285-The file could not be opened because the target application is busy. "
                                  "Please try again in a moment.");
    EXPECT_EQ(shellErrorText(32), "48-The specified dynamic-link library was not found.");
}

TEST(ShellErrorText, OtherResultsAreOffsetFromTheBase) {
    EXPECT_EQ(shellErrorText(11), "-2147220445-The executable file is invalid or corrupt");
    EXPECT_EQ(shellErrorText(27), "-2147220429-This file type does not have a valid file association.");
    EXPECT_EQ(shellErrorText(31), "-2147220425-No application is associated with this file type.");
    EXPECT_EQ(shellErrorText(1), "-2147220455-An error occurred whilst trying to open or print the selected file.");
    EXPECT_EQ(shellErrorText(4), "-2147220452-An error occurred whilst trying to open or print the selected file.");
    EXPECT_EQ(shellErrorText(12), "-2147220444-An error occurred whilst trying to open or print the selected file.");
}

// The single message `ui` showed, checked to be a plain box with OK.
QString onlyPlainMessage(const FakeUi& ui) {
    EXPECT_EQ(ui.messages.size(), 1u);
    if (ui.messages.empty()) return QString();
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    return ui.messages[0].text;
}

// A missing file or folder is reported, named by an absolute path or by a
// file name and its folder.
TEST(ShellExecuteFile, MissingFileOrFolderIsReported) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString gone = QDir(folder.path()).filePath("gone");
    const struct {
        QString file, folder;
        const char* message;
    } cases[] = {{QDir(folder.path()).filePath("report.xlsx"), QString(), "53-File not found"},
                 {"report.xlsx", folder.path(), "53-File not found"},
                 {gone + "/report.xlsx", QString(), "76-Path not found"},
                 {"report.xlsx", gone, "76-Path not found"}};
    for (const auto& c : cases) {
        FakeUi ui;
        EXPECT_FALSE(ShellExecuteFile(c.file, c.folder, ui));
        EXPECT_EQ(onlyPlainMessage(ui), c.message) << c.file.toStdString();
    }
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// A folder with one file to delete, a home whose data folder does not exist
// yet, and the current folder moved into the sandbox to see stray writes.
class RecycleDeleteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sandbox.isValid());
        const QDir root(sandbox.path());
        ASSERT_TRUE(root.mkpath("report") && root.mkpath("home") && root.mkpath("cwd"));
        file = root.filePath("report/old data.dbf");
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("table bytes");
        out.close();
        dataHome = root.filePath("home/.data");
        oldCurrent = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(root.filePath("cwd")));
    }
    void TearDown() override { QDir::setCurrent(oldCurrent); }

    QString trashed(const QString& name) const { return dataHome + "/Trash/files/" + name; }
    bool currentFolderUntouched() const { return QDir(sandbox.path() + "/cwd").isEmpty(); }

    QTemporaryDir sandbox;
    QString file;
    QString dataHome;
    QString oldCurrent;
    FakeUi ui;
};

TEST_F(RecycleDeleteTest, FileGoesToTheTrashOfTheDataFolder) {
    const ScopedEnv home("HOME", QFile::encodeName(sandbox.path() + "/home"));
    const ScopedEnv data("XDG_DATA_HOME", QFile::encodeName(dataHome));
    EXPECT_TRUE(RecycleDelete(file, false, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(QFile::exists(trashed("old data.dbf")));
    EXPECT_TRUE(QFile::exists(dataHome + "/Trash/info/old data.dbf.trashinfo"));
    EXPECT_TRUE(currentFolderUntouched());
}

TEST_F(RecycleDeleteTest, ConfirmationAsksWithTheFileName) {
    const ScopedEnv home("HOME", QFile::encodeName(sandbox.path() + "/home"));
    const ScopedEnv data("XDG_DATA_HOME", QFile::encodeName(dataHome));
    ui.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(RecycleDelete(file, true, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Are you sure you want to send 'old data.dbf' to the Recycle Bin ?");
    EXPECT_EQ(ui.messages[0].title, "Confirm File Delete");
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(QFile::exists(trashed("old data.dbf")));
}

TEST_F(RecycleDeleteTest, AnsweringNoKeepsTheFile) {
    const ScopedEnv home("HOME", QFile::encodeName(sandbox.path() + "/home"));
    const ScopedEnv data("XDG_DATA_HOME", QFile::encodeName(dataHome));
    ui.answers = {MessageAnswer::No};
    EXPECT_FALSE(RecycleDelete(file, true, ui));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(trashed("old data.dbf")));
}

TEST_F(RecycleDeleteTest, NameWithoutExtensionKeepsTheDot) {
    ui.answers = {MessageAnswer::No};
    EXPECT_FALSE(RecycleDelete(sandbox.path() + "/report/README", true, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Are you sure you want to send 'README.' to the Recycle Bin ?");
}

TEST_F(RecycleDeleteTest, MissingFileFails) {
    const ScopedEnv home("HOME", QFile::encodeName(sandbox.path() + "/home"));
    const ScopedEnv data("XDG_DATA_HOME", QFile::encodeName(dataHome));
    EXPECT_FALSE(RecycleDelete(sandbox.path() + "/report/none.dbf", false, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(currentFolderUntouched());
}

}  // namespace
}  // namespace vantrep::session
