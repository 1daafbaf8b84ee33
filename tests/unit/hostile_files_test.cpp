// Files: line ends, CR LF atomic writes, listings, file names; non-files,
// oversized files, links, read-only files, temporaries and kill -9 of saves.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "library/file_names.h"
#include "platform/files.h"
#include "temp_folder.h"

namespace vollo {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

using HostileFiles = TempFolder;

TEST_F(HostileFiles, OnlyExistingOrdinaryFilesAreReadOrReplacedNeverWaitedForAndReadsKeepTheirBound) {
    ASSERT_EQ(::mkfifo((dir + "/fifo.m3u").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir + "/zero.m3u");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s/socket.m3u", dir.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    fs::create_directory(dir + "/folder.m3u");
    for (const char* name : {"fifo.m3u", "zero.m3u", "socket.m3u", "folder.m3u", "missing"}) {
        std::string reason;
        EXPECT_FALSE(readFileBytes(dir + "/" + name, &reason)) << name;
        EXPECT_FALSE(reason.empty()) << name;
        EXPECT_FALSE(readTextLines(dir + "/" + name)) << name;  // a settings file counts as missing
    }
    // Saves refuse what they may not replace, and leave it as it was.
    ::chmod(put("readonly.m3u", "keep").c_str(), 0444);
    for (const char* name : {"readonly.m3u", "fifo.m3u", "folder.m3u"}) {
        std::string reason;
        EXPECT_FALSE(writeFileAtomic(dir + "/" + name, "new", &reason)) << name;
        EXPECT_FALSE(reason.empty()) << name;
    }
    EXPECT_EQ(read("readonly.m3u"), "keep");
    EXPECT_EQ(fs::status(dir + "/fifo.m3u").type(), fs::file_type::fifo);
    ::close(sock);
    // A playlist past its bound is refused, a settings file is cut there.
    const std::string big = put("big", "line1\nline2\n");
    std::string reason;
    EXPECT_FALSE(readFileBytes(big, &reason, 11));
    EXPECT_EQ(reason, std::strerror(EFBIG));
    EXPECT_EQ(readFileBytes(big, nullptr, 12), "line1\nline2\n");
    EXPECT_EQ(readTextLines(big, nullptr, 8), (Strings{"line1", "li"}));
}

TEST(SplitLines, EveryLineEndEndsALine) {
    const std::pair<const char*, Strings> cases[] = {{"a\r\nb\r\n", {"a", "b"}},
                                                     {"a\rb\nc", {"a", "b", "c"}},
                                                     {"a\n\nb", {"a", "", "b"}},
                                                     {"a\r\r\nb", {"a", "", "b"}},
                                                     {"\r\n", {""}},
                                                     {"", {}},
                                                     {"last", {"last"}}};
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(splitLines(text), lines) << text;
    }
}

TEST_F(HostileFiles, WritesCrLfKeepsModeAndAFailedWriteKeepsTheOldFile) {
    const std::string path = dir + "/out.txt";
    ASSERT_TRUE(writeTextLinesAtomic(path, {"one", "", "tw\xFFo"}));
    EXPECT_EQ(read("out.txt"), "one\r\n\r\ntw\xFFo\r\n");
    EXPECT_EQ(*readTextLines(path), (Strings{"one", "", "tw\xFFo"}));
    ASSERT_TRUE(writeTextLinesAtomic(path, {}));
    EXPECT_EQ(read("out.txt"), "");
    ::chmod(path.c_str(), 0600);
    ASSERT_TRUE(writeTextLinesAtomic(path, {"old"}));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::string error;
    EXPECT_FALSE(writeTextLinesAtomic(dir + "/missing/new.txt", {"x"}, &error));
    EXPECT_FALSE(error.empty());
    if (::geteuid() != 0) {
        ::chmod(dir.c_str(), 0500);
        EXPECT_FALSE(writeTextLinesAtomic(path, {"new"}));
        ::chmod(dir.c_str(), 0700);
    }
    EXPECT_EQ(read("out.txt"), "old\r\n");
    EXPECT_EQ(names(), Strings{"out.txt"});
}

TEST_F(HostileFiles, ListingsAndFileNames) {
    put("a.mp3", "");
    put(".hidden.mp3", "");
    put("sub/inner.mp3", "");
    fs::create_symlink(dir + "/a.mp3", dir + "/link.mp3");
    fs::create_symlink(dir + "/sub", dir + "/linkdir");
    auto files = listFiles(dir + "/");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Strings{"a.mp3", "link.mp3"}));
    EXPECT_EQ(listSubdirectories(dir), (Strings{"linkdir", "sub"}));
    EXPECT_TRUE(listFiles(dir + "/missing/").empty());
    for (const auto& [path, name] :
         {std::pair{"/music/a.mp3", "a.mp3"}, {"a.mp3", "a.mp3"}, {"/music/", ""}, {"", ""}}) {
        EXPECT_EQ(TrimPath(path), name) << path;
    }
    EXPECT_TRUE(FileExist(dir + "/a.mp3"));
    for (const std::string name : {"/A.MP3", "/.hidden.mp3", "", "/", "/none.mp3"}) {
        EXPECT_FALSE(FileExist(dir + name)) << name;  // case-sensitive, hidden, folders, missing
    }
    const std::string before = currentDirectory();
    ASSERT_EQ(::chdir(dir.c_str()), 0);
    EXPECT_EQ(absolutePath("x/y.mp3"), fs::canonical(dir).string() + "/x/y.mp3");
    EXPECT_EQ(absolutePath("/abs.mp3"), "/abs.mp3");
    ASSERT_EQ(::chdir(before.c_str()), 0);
    EXPECT_EQ(mountPoints().front(), "/");
    // The drive list's names: escapes decoded, a "\" not followed by three octal digits kept, pseudo file
    // systems left out.
    const std::pair<const char*, const char*> mounts[] = {
        {"/dev/sda1 /media/my\\040disk ext4 rw 0 0", "/media/my disk"},
        {"/dev/sdb1 /mnt/a\\134b\\09x vfat rw 0 0", "/mnt/a\\b\\09x"},
        {"/dev/sdc1 /mnt/end\\04", "/mnt/end\\04"},
        {"proc /proc proc rw 0 0", ""},
        {"none /run/user tmpfs rw 0 0", ""},
        {"nospace", ""}};
    for (const auto& [line, point] : mounts) {
        EXPECT_EQ(mountPointOfLine(line), point) << line;
    }
}

TEST_F(HostileFiles, SavesWriteThroughLinksAndKeepTheOwner) {
    put("real/target.ini", "old");
    fs::create_symlink("real/target.ini", dir + "/relative.ini");
    fs::create_symlink(dir + "/relative.ini", dir + "/chain.ini");
    fs::create_symlink("real/new.ini", dir + "/dangling.ini");
    EXPECT_TRUE(writeFileAtomic(dir + "/chain.ini", "through chain"));
    EXPECT_TRUE(fs::is_symlink(dir + "/chain.ini") && fs::is_symlink(dir + "/relative.ini"));
    EXPECT_EQ(read("real/target.ini"), "through chain");
    EXPECT_TRUE(writeFileAtomic(dir + "/dangling.ini", "created"));
    EXPECT_EQ(read("real/new.ini"), "created");

    if (::geteuid() == 0) {  // only root can give a file to someone else
        const std::string foreign = put("real/foreign.m3u", "x");
        ASSERT_EQ(::chown(foreign.c_str(), 4321, 4321), 0);
        EXPECT_TRUE(writeFileAtomic(foreign, "y"));
        struct stat st {};
        ::stat(foreign.c_str(), &st);
        EXPECT_TRUE(st.st_uid == 4321u && st.st_gid == 4321u) << st.st_uid << ":" << st.st_gid;
    }
    EXPECT_EQ(names(), (Strings{"chain.ini", "dangling.ini", "real", "relative.ini"}));
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

// kill -9 during saves leaves the whole old or new file; the next save cleans up.
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
