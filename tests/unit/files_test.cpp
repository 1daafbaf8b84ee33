// Text files: every line end reads, writes are CR LF and atomic; listings skip
// hidden names and subfolders; file-name routines.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "library/file_names.h"
#include "platform/files.h"

namespace vollo {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vollo-files-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& name, const std::string& bytes) {
        fs::create_directories(fs::path(dir + "/" + name).parent_path());
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
    }
    std::string dir;
};

TEST(SplitLines, EveryLineEndEndsALine) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\rb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines("\r\n"), (Lines{""}));
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("last"), (Lines{"last"}));
}

TEST_F(FilesTest, WritesLinesWithCrLfAndReadsThemBack) {
    const std::string path = dir + "/out.txt";
    ASSERT_TRUE(writeTextLinesAtomic(path, {"one", "", "tw\xFFo"}));
    EXPECT_EQ(*readFileBytes(path), "one\r\n\r\ntw\xFFo\r\n");
    EXPECT_EQ(*readTextLines(path), (std::vector<std::string>{"one", "", "tw\xFFo"}));
    ASSERT_TRUE(writeTextLinesAtomic(path, {}));
    EXPECT_EQ(*readFileBytes(path), "");
}

TEST_F(FilesTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string path = dir + "/keep.txt";
    ASSERT_TRUE(writeTextLinesAtomic(path, {"old"}));
    std::string error;
    EXPECT_FALSE(writeTextLinesAtomic(dir + "/missing/new.txt", {"x"}, &error));
    EXPECT_FALSE(error.empty());
    if (::geteuid() != 0) {
        ::chmod(dir.c_str(), 0500);
        EXPECT_FALSE(writeTextLinesAtomic(path, {"new"}));
        ::chmod(dir.c_str(), 0700);
    }
    EXPECT_EQ(*readFileBytes(path), "old\r\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(FilesTest, ReplacingAFileKeepsItsPermissions) {
    const std::string path = dir + "/mode.txt";
    write("mode.txt", "x");
    ::chmod(path.c_str(), 0600);
    ASSERT_TRUE(writeTextLinesAtomic(path, {"y"}));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(FilesTest, ReadingAMissingFileOrAFolderFails) {
    std::string error;
    EXPECT_FALSE(readFileBytes(dir + "/nothing", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(readTextLines(dir));
}

TEST_F(FilesTest, ListingSkipsHiddenNamesAndFolders) {
    write("a.mp3", "");
    write(".hidden.mp3", "");
    write("sub/inner.mp3", "");
    fs::create_symlink(dir + "/a.mp3", dir + "/link.mp3");
    fs::create_symlink(dir + "/sub", dir + "/linkdir");
    auto files = listFiles(dir + "/");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"a.mp3", "link.mp3"}));
    EXPECT_EQ(listSubdirectories(dir), (std::vector<std::string>{"linkdir", "sub"}));
    EXPECT_TRUE(listFiles(dir + "/missing/").empty());
}

TEST_F(FilesTest, TrimPathAndFileExist) {
    EXPECT_EQ(TrimPath("/music/a.mp3"), "a.mp3");
    EXPECT_EQ(TrimPath("a.mp3"), "a.mp3");
    EXPECT_EQ(TrimPath("/music/"), "");
    EXPECT_EQ(TrimPath(""), "");
    write("Song.mp3", "x");
    write(".secret.m3u", "x");
    EXPECT_TRUE(FileExist(dir + "/Song.mp3"));
    EXPECT_FALSE(FileExist(dir + "/song.MP3"));  // the file system is case-sensitive
    EXPECT_FALSE(FileExist(dir + "/.secret.m3u"));
    EXPECT_FALSE(FileExist(dir));
    EXPECT_FALSE(FileExist(dir + "/"));
    EXPECT_FALSE(FileExist(dir + "/none.mp3"));
}

TEST_F(FilesTest, AbsolutePathJoinsTheCurrentDirectory) {
    const std::string before = currentDirectory();
    ASSERT_EQ(::chdir(dir.c_str()), 0);
    EXPECT_EQ(absolutePath("x/y.mp3"), fs::canonical(dir).string() + "/x/y.mp3");
    EXPECT_EQ(absolutePath("/abs.mp3"), "/abs.mp3");
    ASSERT_EQ(::chdir(before.c_str()), 0);
    EXPECT_EQ(mountPoints().front(), "/");
}

}  // namespace
}  // namespace vollo
