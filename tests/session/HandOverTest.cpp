// The hand-over folder: which folder the command line names, and that it is
// removed only when marked, never by force and never beyond itself.
#include "session/HandOver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <utility>

namespace vantrep::session {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The parent of the whole command-line text; none for a bare name or the root.
TEST(HandOverFolderTest, IsTheParentOfTheWholeCommandLineText) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/Del/Rep1/data.dbf", "/home/u/Del/Rep1"}, {"/home/u/Del/Rep1/Brands.str,1", "/home/u/Del/Rep1"},
        {"/home/u/Del/Rep1/", "/home/u/Del"}, {"Del/Rep1/data.dbf", "Del/Rep1"}, {"", ""}, {"-Embedding", ""},
        {"data.dbf", ""}, {"/data.dbf", ""}, {"/", ""}};
    for (const auto& [argument, folder] : cases) EXPECT_EQ(handOverFolder(argument), QString(folder)) << argument;
}

class RemoveHandOverFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        folder_ = root_.path() + "/Rep1";
        sibling_ = root_.path() + "/Kept";
        ASSERT_TRUE(QDir().mkpath(folder_ + "/sub"));
        ASSERT_TRUE(QDir().mkpath(sibling_));
        writeFile(folder_ + "/data.dbf", "table");
        writeFile(folder_ + "/Brands.str", "structure");
        writeFile(folder_ + "/.hidden", "hidden");
        writeFile(folder_ + "/sub/notes.txt", "notes");
        writeFile(sibling_ + "/saved.dbf", "saved report");
    }

    void mark() { writeFile(folder_ + "/" + kHandOverMarker, ""); }
    QString argument() const { return folder_ + "/data.dbf"; }

    QTemporaryDir root_;
    QString folder_;
    QString sibling_;
};

TEST_F(RemoveHandOverFolderTest, MarkedFolderIsRemovedWithEverythingInIt) {
    mark();
    EXPECT_TRUE(removeHandOverFolder(argument()));
    EXPECT_FALSE(QFileInfo::exists(folder_));
    EXPECT_TRUE(QFileInfo::exists(sibling_ + "/saved.dbf"));
    EXPECT_TRUE(QFileInfo::exists(root_.path()));
    // A fixed-report argument names the same folder.
    ASSERT_TRUE(QDir().mkpath(folder_));
    mark();
    EXPECT_TRUE(removeHandOverFolder(folder_ + "/data.dbf,2"));
    EXPECT_FALSE(QFileInfo::exists(folder_));
}

TEST_F(RemoveHandOverFolderTest, UnmarkedFolderStaysWhole) {
    EXPECT_FALSE(removeHandOverFolder(argument()));
    EXPECT_TRUE(QFileInfo::exists(folder_ + "/data.dbf"));
    EXPECT_TRUE(QFileInfo::exists(folder_ + "/Brands.str"));
    EXPECT_TRUE(QFileInfo::exists(folder_ + "/sub/notes.txt"));
    // A marker that is a folder does not count.
    ASSERT_TRUE(QDir().mkpath(folder_ + "/" + kHandOverMarker));
    EXPECT_FALSE(removeHandOverFolder(argument()));
    EXPECT_TRUE(QFileInfo::exists(folder_ + "/data.dbf"));
}

TEST_F(RemoveHandOverFolderTest, ReadOnlyFileKeepsItAndTheFolder) {
    mark();
    ASSERT_TRUE(QFile::setPermissions(folder_ + "/sub/notes.txt", QFileDevice::ReadOwner));
    EXPECT_FALSE(removeHandOverFolder(argument()));
    EXPECT_TRUE(QFileInfo::exists(folder_ + "/sub/notes.txt"));
    EXPECT_FALSE(QFileInfo::exists(folder_ + "/data.dbf"));
    EXPECT_FALSE(QFileInfo::exists(folder_ + "/Brands.str"));
    EXPECT_FALSE(QFileInfo::exists(folder_ + "/.hidden"));
    QFile::setPermissions(folder_ + "/sub/notes.txt", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(RemoveHandOverFolderTest, ReadOnlySubfolderKeepsItsContent) {
    mark();
    ASSERT_TRUE(QFile::setPermissions(folder_ + "/sub", QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    EXPECT_FALSE(removeHandOverFolder(argument()));
    EXPECT_TRUE(QFileInfo::exists(folder_ + "/sub/notes.txt"));
    EXPECT_FALSE(QFileInfo::exists(folder_ + "/data.dbf"));
    QFile::setPermissions(folder_ + "/sub", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(RemoveHandOverFolderTest, LinkToAnotherFolderIsRemovedNotFollowed) {
    mark();
    ASSERT_TRUE(QFile::link(sibling_, folder_ + "/link-to-kept"));
    EXPECT_TRUE(removeHandOverFolder(argument()));
    EXPECT_FALSE(QFileInfo::exists(folder_));
    EXPECT_TRUE(QFileInfo::exists(sibling_ + "/saved.dbf"));
}

TEST_F(RemoveHandOverFolderTest, FolderThatIsALinkIsLeftAlone) {
    mark();
    const QString linked = root_.path() + "/Linked";
    ASSERT_TRUE(QFile::link(folder_, linked));
    EXPECT_FALSE(removeHandOverFolder(linked + "/data.dbf"));
    EXPECT_TRUE(QFileInfo::exists(folder_ + "/data.dbf"));
    EXPECT_TRUE(QFileInfo(linked).isSymLink());
}

TEST_F(RemoveHandOverFolderTest, ExportTargetInsideAMarkedFolderIsFound) {
    EXPECT_FALSE(isInHandOverFolder(folder_ + "/out.tsv", argument()));  // not marked: the folder stays
    mark();
    EXPECT_TRUE(isInHandOverFolder(folder_ + "/out.tsv", argument()));
    EXPECT_TRUE(isInHandOverFolder(folder_ + "/sub/out.tsv", argument()));
    EXPECT_TRUE(isInHandOverFolder(folder_ + "/sub/../out.tsv", argument()));
    EXPECT_FALSE(isInHandOverFolder(sibling_ + "/out.tsv", argument()));
    EXPECT_FALSE(isInHandOverFolder(root_.path() + "/Rep1.tsv", argument()));
    ASSERT_TRUE(QFile::link(folder_, root_.path() + "/alias"));
    EXPECT_TRUE(isInHandOverFolder(root_.path() + "/alias/out.tsv", argument()));
    ASSERT_TRUE(QFile::link(folder_ + "/data.dbf", sibling_ + "/link.tsv"));
    EXPECT_TRUE(isInHandOverFolder(sibling_ + "/link.tsv", argument()));
}

}  // namespace
}  // namespace vantrep::session
