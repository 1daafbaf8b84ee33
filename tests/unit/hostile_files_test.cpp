// Files a hostile user or a killed process leaves behind: what is not an
// ordinary file, files too large, playlist lines that cannot name a file,
// names no line can hold, numbers at the edge of their range, links,
// read-only files, temporaries of killed saves, kill -9 in the middle of saves.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cfloat>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/files.h"
#include "platform/text.h"
#include "playlist/m3u.h"

namespace vollo {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class HostileFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vollo-hostile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
        return dir + "/" + name;
    }
    std::string read(const std::string& name) { return readFileBytes(dir + "/" + name).value_or("<none>"); }
    Strings names() {
        Strings all;
        for (const auto& entry : fs::directory_iterator(dir)) {
            all.push_back(entry.path().filename());
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    std::string dir;
};

TEST_F(HostileFiles, OnlyOrdinaryFilesAreReadAndNeverWaitedFor) {
    ASSERT_EQ(::mkfifo((dir + "/fifo.m3u").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir + "/zero.m3u");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s/socket.m3u", dir.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    fs::create_directory(dir + "/folder.m3u");
    for (const char* name : {"fifo.m3u", "zero.m3u", "socket.m3u", "folder.m3u"}) {
        std::string reason;
        EXPECT_FALSE(readFileBytes(dir + "/" + name, &reason)) << name;
        EXPECT_FALSE(reason.empty()) << name;
        EXPECT_FALSE(readTextLines(dir + "/" + name)) << name;  // a settings file counts as missing
    }
    ::close(sock);
}

TEST_F(HostileFiles, APlaylistPastItsBoundIsRefusedASettingsFileIsCutThere) {
    const std::string path = put("big", "line1\nline2\n");
    std::string reason;
    EXPECT_FALSE(readFileBytes(path, &reason, 11));
    EXPECT_EQ(reason, std::strerror(EFBIG));
    EXPECT_EQ(readFileBytes(path, nullptr, 12), "line1\nline2\n");
    EXPECT_EQ(readTextLines(path, nullptr, 8), (Strings{"line1", "li"}));
}

TEST(HostileM3u, LinesThatCannotNameAFileAreSkippedAndFileUrisAreDecoded) {
    const std::string longName(PATH_MAX, 'x');
    const struct {
        std::string bytes;
        Strings titles, paths;
    } cases[] = {
        {longName + ".mp3\nok.mp3\n", {"ok"}, {"/d/ok.mp3"}},
        {std::string("a\0b.mp3\nok.mp3\n", 15), {"ok"}, {"/d/ok.mp3"}},
        {"#EXTINF:1,x\r\nfile:///m/Caf%C3%A9%20%2301.mp3\r\nfile://localhost/m/%2561.wav\r\n",
         {"Café #01", "%61"},
         {"/m/Café #01.mp3", "/m/%61.wav"}},
        {"FILE:///m/bad%zz%4.mp3\nfile:///m/nul%00.mp3\nfile://host/m/a.mp3\nhttp://h/a.mp3\nhttps://h/"
         "b.mp3\n"
         "file:///m/%2F%2F%2F\n",
         {"bad%zz%4"},
         {"/m/bad%zz%4.mp3"}},
        {"c:/x.mp3\nhttp:/x.mp3\n", {"x", "x"}, {"/d/c:/x.mp3", "/d/http:/x.mp3"}},
    };
    for (const auto& c : cases) {
        const M3uEntries e = readM3u(c.bytes, "/d/list.m3u");
        EXPECT_EQ(e.titles, c.titles) << c.bytes.substr(0, 60);
        EXPECT_EQ(e.paths, c.paths) << c.bytes.substr(0, 60);
    }
}

TEST(HostileM3u, EntriesNoLineCanNameAreLeftOutAndTheRestReadsBack) {
    const Strings paths{"/m/a\rb.mp3",
                        "/m/ok.mp3",
                        "/m/c\nd.mp3",
                        "/m/http://x.mp3",
                        "/m/file:/y.mp3",
                        "/m/ab",
                        "/m/" + std::string(PATH_MAX, 'z') + ".mp3",
                        "/m/#EXTz.mp3"};
    std::vector<size_t> leftOut;
    const std::string bytes = writeM3u(paths, "/m/list.m3u", &leftOut);
    EXPECT_EQ(leftOut, (std::vector<size_t>{0, 2, 5, 6}));
    EXPECT_EQ(bytes, "#EXTM3U\r\nok.mp3\r\n./http://x.mp3\r\nfile:/y.mp3\r\n./#EXTz.mp3\r\n");
    EXPECT_EQ(readM3u(bytes, "/m/list.m3u").titles, (Strings{"ok", "x", "y", "#EXTz"}));
}

TEST(HostileNumbers, WrittenNumbersArePlainDecimalsThatReadBackTheSame) {
    for (const double v : {5e69, 5e-20, -1e-300, DBL_MAX, -DBL_MAX, DBL_TRUE_MIN, 0.1, 12.5, -300.0, 1e22}) {
        const std::string text = formatNumber(v);
        EXPECT_EQ(text.find_first_not_of("-0123456789."), std::string::npos) << text;
        EXPECT_EQ(numericPrefix(text), v) << text;
    }
    for (const float v : {FLT_MAX, -FLT_MAX, FLT_TRUE_MIN, 0.1f, 4185.5f, -1e-30f}) {
        EXPECT_EQ(static_cast<float>(numericPrefix(formatSingle(v))), v) << formatSingle(v);
    }
    EXPECT_EQ(formatNumber(5e69), "5" + std::string(69, '0'));
    EXPECT_EQ(formatNumber(-0.0), "0");
    EXPECT_EQ(formatSingle(-INFINITY), formatSingle(-FLT_MAX));
    EXPECT_EQ(numericPrefix("1" + std::string(400, '0')), DBL_MAX);
}

TEST_F(HostileFiles, SavesWriteThroughLinksAndRefuseWhatTheyMayNotReplace) {
    fs::create_directory(dir + "/real");
    put("real/target.ini", "old");
    fs::create_symlink("real/target.ini", dir + "/relative.ini");
    fs::create_symlink(dir + "/relative.ini", dir + "/chain.ini");
    fs::create_symlink("real/new.ini", dir + "/dangling.ini");
    EXPECT_TRUE(writeFileAtomic(dir + "/chain.ini", "through chain"));
    EXPECT_TRUE(fs::is_symlink(dir + "/chain.ini") && fs::is_symlink(dir + "/relative.ini"));
    EXPECT_EQ(read("real/target.ini"), "through chain");
    EXPECT_TRUE(writeFileAtomic(dir + "/dangling.ini", "created"));
    EXPECT_EQ(read("real/new.ini"), "created");

    const std::string readOnly = put("real/readonly.m3u", "keep");
    ::chmod(readOnly.c_str(), 0444);
    ASSERT_EQ(::mkfifo((dir + "/fifo.m3u").c_str(), 0644), 0);
    fs::create_directory(dir + "/folder.m3u");
    for (const char* name : {"real/readonly.m3u", "fifo.m3u", "folder.m3u"}) {
        std::string reason;
        EXPECT_FALSE(writeFileAtomic(dir + "/" + name, "new", &reason)) << name;
        EXPECT_FALSE(reason.empty()) << name;
    }
    EXPECT_EQ(read("real/readonly.m3u"), "keep");
    EXPECT_EQ(fs::status(dir + "/fifo.m3u").type(), fs::file_type::fifo);
    if (::geteuid() == 0) {  // only root can give a file to someone else
        const std::string foreign = put("real/foreign.m3u", "x");
        ASSERT_EQ(::chown(foreign.c_str(), 4321, 4321), 0);
        EXPECT_TRUE(writeFileAtomic(foreign, "y"));
        struct stat st {};
        ::stat(foreign.c_str(), &st);
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4321u);
    }
    EXPECT_EQ(names(),
              (Strings{"chain.ini", "dangling.ini", "fifo.m3u", "folder.m3u", "real", "relative.ini"}));
}

TEST_F(HostileFiles, TemporariesOfKilledSavesGoAndNothingElseDoes) {
    const Strings kept{".list.m3u.vollo-save-abc12",   ".list.m3u.vollo-save-abc1234", ".list.m3u.abcdef",
                       ".other.m3u.vollo-save-abc123", "list.m3u.vollo-save-abc123",   "list.m3u",
                       ".list.m3u.vollo-save-locked"};
    for (const auto& name : kept) {
        put(name, "x");
    }
    put(".list.m3u.vollo-save-abc123", "stale");
    put(".list.m3u.vollo-save-Q9z0Xy", "stale");
    fs::create_directory(dir + "/.list.m3u.vollo-save-folder");
    // A save in progress elsewhere holds its temporary locked.
    const int busy = ::open((dir + "/.list.m3u.vollo-save-locked").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    removeStaleTemporaries(dir + "/list.m3u");
    Strings expected = kept;
    expected.push_back(".list.m3u.vollo-save-folder");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names(), expected);
    put(".list.m3u.vollo-save-abc123", "stale");
    EXPECT_TRUE(writeFileAtomic(dir + "/list.m3u", "new"));
    EXPECT_EQ(names(), expected);
    ::close(busy);
}

// kill -9 at random moments during saves: the file is always the complete old
// or the complete new content, and the next save leaves no temporary.
TEST_F(HostileFiles, KilledSavesLeaveTheOldOrTheNewFileAndTheNextSaveCleansUp) {
    std::string bigA = "#EXTM3U\r\n", bigB = bigA;
    for (int i = 0; i < 100000; ++i) {
        bigA += "Artist " + std::to_string(i) + "/Some song title.mp3\r\n";
        bigB += "/elsewhere/" + std::to_string(i) + " other.mp3\r\n";
    }
    const std::string optionsA =
        "10\r\n0\r\n4185\r\n2850\r\n2400\r\n2400\r\n3000\r\n3000\r\n0\r\n0\r\nTrue\r\nFalse\r\n";
    const std::string optionsB = "12.5\r\n1\r\n-300\r\n99\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\nFalse\r\nTrue\r\n";
    std::mt19937 random(20261207);
    const std::tuple<const char*, const std::string*, const std::string*> files[] = {
        {"list.m3u", &bigA, &bigB}, {"options.ini", &optionsA, &optionsB}};
    for (const auto& [name, a, b] : files) {
        const std::string path = dir + "/" + name;
        ASSERT_TRUE(writeFileAtomic(path, *a));
        for (int round = 0; round < 50; ++round) {
            const pid_t child = ::fork();
            if (child == 0) {
                for (int i = 0;; ++i) {
                    writeFileAtomic(path, i % 2 ? *a : *b);
                }
            }
            ::usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const std::string now = read(name);
            ASSERT_TRUE(now == *a || now == *b)
                << name << " round " << round << ": " << now.size() << " bytes";
        }
        ASSERT_TRUE(writeFileAtomic(path, *a));
    }
    EXPECT_EQ(names(), (Strings{"list.m3u", "options.ini"}));
}

}  // namespace
}  // namespace vollo
