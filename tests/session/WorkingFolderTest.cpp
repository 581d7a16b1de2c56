// The working folder: where the copy goes, what it holds, and how running
// processes keep their containers (tested with real second processes).
#include "session/WorkingFolder.h"
#include "support/FakeUi.h"
#include "support/HelperProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <map>
#include <set>
#include <string>

namespace vantrep::session {
namespace {

using testing::FakeUi;
using testing::HelperProcess;

using Tree = std::map<QString, QByteArray>;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Every file and folder below `root` by relative path: a file's bytes, or
// "<folder>" for a folder.
Tree treeOf(const QString& root) {
    Tree tree;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        const QString relative = QDir(root).relativeFilePath(entry.filePath());
        if (entry.isDir()) {
            tree[relative] = "<folder>";
        } else {
            QFile file(entry.filePath());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << entry.filePath().toStdString();
            tree[relative] = file.readAll();
        }
    }
    return tree;
}

// The container part of a working folder path ("<temp>/VantRepTempFolder<n>").
QString containerOf(const QString& workingFolder) {
    QString path = workingFolder;
    path.chop(1);
    return QFileInfo(path).path();
}

class WorkingFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        temp_ = root_.path() + "/temp";
        report_ = root_.path() + "/Rep1";
        ASSERT_TRUE(QDir().mkpath(temp_));
        ASSERT_TRUE(QDir().mkpath(report_ + "/sub/deeper"));
        writeFile(report_ + "/DATA.DBF", QByteArray("\x03\x7a\x0c\x06\x00\x00\xff\x20", 8));
        writeFile(report_ + "/DATA.FPT", QByteArray(512, '\0'));
        writeFile(report_ + "/Brands.STR", "structure");
        writeFile(report_ + "/empty.txt", "");
        writeFile(report_ + "/.hidden", "hidden");
        writeFile(report_ + "/sub/notes.txt", "notes");
        writeFile(report_ + "/sub/deeper/more.bin", QByteArray("\x00\x01\x02", 3));
        hadTmpDir_ = qEnvironmentVariableIsSet("TMPDIR");
        savedTmpDir_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temp_));
    }

    void TearDown() override {
        if (hadTmpDir_)
            qputenv("TMPDIR", savedTmpDir_);
        else
            qunsetenv("TMPDIR");
    }

    QString container(int n) const { return temp_ + "/VantRepTempFolder" + QString::number(n); }

    // Starts the helper program holding a working copy of the report.
    std::unique_ptr<HelperProcess> startHolder(bool unprivileged = false) const {
        std::vector<std::string> arguments;
        if (unprivileged)
            arguments.push_back("--unprivileged");
        arguments.push_back(report_.toStdString());
        return std::make_unique<HelperProcess>(VANTREP_HOLD_WORKING_COPY, arguments);
    }

    QTemporaryDir root_;  // made in the real temporary folder, before TMPDIR points into it
    QString temp_;
    QString report_;
    bool hadTmpDir_ = false;
    QByteArray savedTmpDir_;
    FakeUi ui_;
};

TEST_F(WorkingFolderTest, TempDirFollowsTmpdirAndEndsInSlash) {
    EXPECT_EQ(GetTempDir(), temp_ + "/");
    qputenv("TMPDIR", QFile::encodeName(temp_ + "/"));
    EXPECT_EQ(GetTempDir(), temp_ + "/");
}

TEST_F(WorkingFolderTest, CopyHoldsEveryFileAndFolderOfTheReport) {
    WorkingFolderLock lock;
    const QString copy = CopyToTempFolder(report_, lock, ui_);
    ASSERT_TRUE(ui_.messages.empty()) << ui_.messages.front().text.toStdString();
    ASSERT_TRUE(copy.startsWith(container(0) + "/")) << copy.toStdString();
    ASSERT_TRUE(copy.endsWith("/"));
    const QString randomPart = copy.mid(container(0).size() + 1).chopped(1);
    EXPECT_FALSE(randomPart.isEmpty());
    EXPECT_FALSE(randomPart.contains('/'));
    EXPECT_EQ(treeOf(copy), treeOf(report_));
    EXPECT_TRUE(lock.holds());
    EXPECT_EQ(lock.container(), container(0));
    // A trailing slash of the report folder makes no difference.
    EXPECT_EQ(treeOf(CopyToTempFolder(report_ + "/", lock, ui_)), treeOf(report_));
}

TEST_F(WorkingFolderTest, LeftoversOfEndedRunsAreCleared) {
    ASSERT_TRUE(QDir().mkpath(container(0) + "/radold/sub"));
    writeFile(container(0) + "/radold/sub/old.dbf", "old");
    writeFile(container(0) + "/readonly.txt", "kept?");
    ASSERT_TRUE(QFile::setPermissions(container(0) + "/readonly.txt", QFileDevice::ReadOwner));
    writeFile(container(0) + ".lock", "");  // lock file of an ended run: present, not held

    WorkingFolderLock lock;
    const QString copy = CopyToTempFolder(report_, lock, ui_);
    ASSERT_TRUE(ui_.messages.empty());
    ASSERT_TRUE(copy.startsWith(container(0) + "/"));
    const QString randomPart = copy.mid(container(0).size() + 1).chopped(1);
    EXPECT_EQ(QDir(container(0)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{randomPart});
}

TEST_F(WorkingFolderTest, ReopenInTheSameProcessReusesAndClearsItsContainer) {
    WorkingFolderLock lock;
    const QString first = CopyToTempFolder(report_, lock, ui_);
    const QString second = CopyToTempFolder(report_, lock, ui_);
    ASSERT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(second.startsWith(container(0) + "/"));
    EXPECT_NE(first, second);
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_EQ(treeOf(second), treeOf(report_));
    EXPECT_EQ(lock.container(), container(0));
}

TEST_F(WorkingFolderTest, LockIsExclusiveUntilReleasedAndMovesWithItsOwner) {
    WorkingFolderLock first;
    WorkingFolderLock second;
    EXPECT_EQ(first.tryTake(container(0)), WorkingFolderLock::Attempt::Taken);
    EXPECT_EQ(second.tryTake(container(0)), WorkingFolderLock::Attempt::HeldByOther);
    EXPECT_FALSE(second.holds());

    WorkingFolderLock moved = std::move(first);
    EXPECT_FALSE(first.holds());
    EXPECT_EQ(moved.container(), container(0));
    EXPECT_EQ(second.tryTake(container(0)), WorkingFolderLock::Attempt::HeldByOther);

    moved.release();
    EXPECT_EQ(second.tryTake(container(0)), WorkingFolderLock::Attempt::Taken);
    EXPECT_EQ(second.tryTake(container(1)), WorkingFolderLock::Attempt::Taken);
    EXPECT_EQ(second.container(), container(1));
    EXPECT_EQ(moved.tryTake(container(0)), WorkingFolderLock::Attempt::Taken);  // released by the move to 1
}

TEST_F(WorkingFolderTest, HeldContainerIsPassedOverAndKeepsItsContent) {
    WorkingFolderLock other;
    ASSERT_EQ(other.tryTake(container(0)), WorkingFolderLock::Attempt::Taken);
    ASSERT_TRUE(QDir().mkpath(container(0) + "/radheld"));
    writeFile(container(0) + "/radheld/DATA.DBF", "in use");

    WorkingFolderLock lock;
    const QString copy = CopyToTempFolder(report_, lock, ui_);
    ASSERT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(copy.startsWith(container(1) + "/")) << copy.toStdString();
    EXPECT_EQ(treeOf(container(0)), (Tree{{"radheld", "<folder>"}, {"radheld/DATA.DBF", "in use"}}));
}

TEST_F(WorkingFolderTest, MissingReportFolderIsReportedByName) {
    WorkingFolderLock lock;
    EXPECT_EQ(CopyToTempFolder(root_.path() + "/NoSuchReport", lock, ui_), QString());
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui_.messages[0].text, "Cannot read \"" + root_.path() +
                                        "/NoSuchReport\" of the report folder: No such file or directory.");
}

TEST_F(WorkingFolderTest, UnusableLockFileIsReportedByName) {
    ASSERT_TRUE(QDir().mkpath(container(0) + ".lock"));  // a folder where the lock file belongs
    WorkingFolderLock lock;
    EXPECT_EQ(CopyToTempFolder(report_, lock, ui_), QString());
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui_.messages[0].text, "Cannot open the lock file \"" + container(0) + ".lock\": Is a directory.");
    EXPECT_FALSE(lock.holds());
}

TEST_F(WorkingFolderTest, LiveProcessKeepsItsCopyWhileOthersStart) {
    auto holder = startHolder();
    const QString held = QString::fromStdString(holder->readLine());
    ASSERT_TRUE(held.startsWith(container(0) + "/")) << held.toStdString();

    WorkingFolderLock lock;
    const QString mine = CopyToTempFolder(report_, lock, ui_);
    ASSERT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(mine.startsWith(container(1) + "/")) << mine.toStdString();

    auto third = startHolder();
    const QString thirdCopy = QString::fromStdString(third->readLine());
    EXPECT_TRUE(thirdCopy.startsWith(container(2) + "/")) << thirdCopy.toStdString();

    EXPECT_EQ(treeOf(held), treeOf(report_));
    EXPECT_EQ(treeOf(mine), treeOf(report_));
    EXPECT_EQ(treeOf(thirdCopy), treeOf(report_));
    EXPECT_EQ(holder->finish(), 0);
    EXPECT_EQ(third->finish(), 0);
}

TEST_F(WorkingFolderTest, ContainerOfAnEndedOrCrashedProcessIsCleared) {
    for (bool crash : {false, true}) {
        auto holder = startHolder();
        const QString held = QString::fromStdString(holder->readLine());
        ASSERT_TRUE(held.startsWith(container(0) + "/")) << held.toStdString();
        if (crash)
            holder->kill();
        else
            ASSERT_EQ(holder->finish(), 0);

        WorkingFolderLock lock;
        const QString mine = CopyToTempFolder(report_, lock, ui_);
        EXPECT_TRUE(mine.startsWith(container(0) + "/")) << mine.toStdString() << (crash ? " after a crash" : "");
        EXPECT_FALSE(QFileInfo::exists(held));
    }
}

TEST_F(WorkingFolderTest, TwoProcessesStartedAtOnceKeepBothCopies) {
    for (int round = 0; round < 5; ++round) {
        auto first = startHolder();
        auto second = startHolder();
        const QString firstCopy = QString::fromStdString(first->readLine());
        const QString secondCopy = QString::fromStdString(second->readLine());
        ASSERT_FALSE(firstCopy.isEmpty());
        ASSERT_FALSE(secondCopy.isEmpty());
        EXPECT_EQ((std::set<QString>{containerOf(firstCopy), containerOf(secondCopy)}),
                  (std::set<QString>{container(0), container(1)}))
            << "round " << round;
        EXPECT_EQ(treeOf(firstCopy), treeOf(report_));
        EXPECT_EQ(treeOf(secondCopy), treeOf(report_));
        EXPECT_EQ(first->finish(), 0);
        EXPECT_EQ(second->finish(), 0);
    }
}

TEST_F(WorkingFolderTest, ReportStraightInTheTemporaryFolderIsNotCopiedIntoItself) {
    writeFile(temp_ + "/DATA.DBF", "table");
    WorkingFolderLock lock;
    for (int open = 0; open < 2; ++open) {
        const QString copy = CopyToTempFolder(temp_, lock, ui_);
        ASSERT_TRUE(ui_.messages.empty()) << ui_.messages.front().text.toStdString();
        EXPECT_EQ(treeOf(copy), (Tree{{"DATA.DBF", "table"}})) << "open " << open;
    }
}

TEST_F(WorkingFolderTest, ReportFolderHoldingTheTemporaryFolderIsNotCopiedIntoItself) {
    const QString inside = report_ + "/tmp";
    ASSERT_TRUE(QDir().mkpath(inside));
    writeFile(inside + "/other.txt", "someone else's");
    qputenv("TMPDIR", QFile::encodeName(inside));
    const Tree before = treeOf(report_);
    WorkingFolderLock lock;
    const QString copy = CopyToTempFolder(report_, lock, ui_);
    ASSERT_TRUE(ui_.messages.empty()) << ui_.messages.front().text.toStdString();
    ASSERT_TRUE(copy.startsWith(inside + "/VantRepTempFolder0/")) << copy.toStdString();
    EXPECT_EQ(treeOf(copy), before);
}

TEST_F(WorkingFolderTest, LinksAreCopiedAsLinksAndNeverFollowed) {
    const QString outside = root_.path() + "/outside";
    ASSERT_TRUE(QDir().mkpath(outside));
    writeFile(outside + "/big.bin", "not part of the report");
    ASSERT_TRUE(QFile::link(outside, report_ + "/linked-folder"));
    ASSERT_TRUE(QFile::link("DATA.DBF", report_ + "/same.dbf"));
    ASSERT_TRUE(QDir().mkpath(report_ + "/clips"));
    ASSERT_TRUE(QFile::link(root_.path() + "/gone.jpg", report_ + "/clips/dangling.jpg"));

    WorkingFolderLock lock;
    const QString copy = CopyToTempFolder(report_, lock, ui_);
    ASSERT_TRUE(ui_.messages.empty()) << ui_.messages.front().text.toStdString();
    EXPECT_TRUE(QFileInfo(copy + "linked-folder").isSymLink());
    EXPECT_EQ(QFileInfo(copy + "linked-folder").symLinkTarget(), outside);
    EXPECT_TRUE(QFileInfo(copy + "same.dbf").isSymLink());
    EXPECT_EQ(QFileInfo(copy + "same.dbf").symLinkTarget(), copy + "DATA.DBF");
    EXPECT_TRUE(QFileInfo(copy + "clips/dangling.jpg").isSymLink());
    EXPECT_TRUE(QFileInfo::exists(copy + "DATA.DBF"));
}

TEST_F(WorkingFolderTest, CopyKeepsTheFolderPermissions) {
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    ASSERT_TRUE(QFile::setPermissions(report_, ownerOnly));
    ASSERT_TRUE(QFile::setPermissions(report_ + "/sub", ownerOnly | QFileDevice::ReadGroup | QFileDevice::ExeGroup));
    WorkingFolderLock lock;
    const QString copy = CopyToTempFolder(report_, lock, ui_);
    ASSERT_TRUE(ui_.messages.empty()) << ui_.messages.front().text.toStdString();
    const auto folderBits = [](const QString& path) {
        return QFileInfo(path).permissions() & ~QFileDevice::Permissions(QFileDevice::ReadUser | QFileDevice::WriteUser |
                                                                           QFileDevice::ExeUser);
    };
    EXPECT_EQ(folderBits(copy), folderBits(report_));
    EXPECT_EQ(folderBits(copy + "sub"), folderBits(report_ + "/sub"));
}

// The helper becomes "nobody" when the tests run as root (root is never
// refused), so the refusal is real in both cases: container 0 belongs to the
// test and is read-only, and its leftovers cannot be cleared by the helper.
TEST_F(WorkingFolderTest, PermissionDeniedMovesOnToTheNextContainer) {
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                      QFileDevice::ExeOther;
    const auto everyone = open | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    const auto readOnly = open & ~QFileDevice::Permissions(QFileDevice::WriteOwner);
    ASSERT_TRUE(QFile::setPermissions(root_.path(), open));
    ASSERT_TRUE(QFile::setPermissions(temp_, everyone));
    ASSERT_TRUE(QDir().mkpath(container(0)));
    writeFile(container(0) + "/leftover.txt", "leftover");
    ASSERT_TRUE(QFile::setPermissions(container(0), readOnly));

    auto holder = startHolder(true);
    const QString held = QString::fromStdString(holder->readLine());
    EXPECT_TRUE(held.startsWith(container(1) + "/")) << held.toStdString();
    EXPECT_EQ(treeOf(held), treeOf(report_));
    EXPECT_EQ(treeOf(container(0)), (Tree{{"leftover.txt", "leftover"}}));
    EXPECT_EQ(holder->finish(), 0);
    ASSERT_TRUE(QFile::setPermissions(container(0), open));
}

}  // namespace
}  // namespace vantrep::session
