#include "platform/files.h"

#include "platform/services.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

#include "platform/text.h"

namespace vollo {

namespace {

void setError(std::string* error) {
    if (error) {
        *error = std::strerror(errno);
    }
}

void setError(std::string* error, const char* reason) {
    if (error) {
        *error = reason;
    }
}

const char* const kNotOrdinary = "Not an ordinary file";

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Reads an ordinary file: up to maxBytes bytes, or, when refuseLarger, the
// whole file and nothing at all when it holds more.
std::optional<std::string> readOrdinaryFile(const std::string& path, std::string* error, size_t maxBytes,
                                            bool refuseLarger) {
    // O_NONBLOCK: opening a FIFO with no writer, or a device, must not wait.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        setError(error);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool folder = S_ISDIR(st.st_mode);
        ::close(fd);
        errno = EISDIR;
        folder ? setError(error) : setError(error, kNotOrdinary);
        return std::nullopt;
    }
    const auto tooLarge = [&] {
        ::close(fd);
        errno = EFBIG;
        setError(error);
        return std::nullopt;
    };
    if (refuseLarger && st.st_size > 0 && static_cast<unsigned long long>(st.st_size) > maxBytes) {
        return tooLarge();
    }
    std::string bytes;
    if (st.st_size > 0) {
        bytes.reserve(std::min(static_cast<size_t>(st.st_size), maxBytes));
    }
    char buffer[1 << 16];
    // One byte past the bound tells a file that grew beyond it.
    while (bytes.size() <= maxBytes) {
        const size_t want = std::min(sizeof buffer, maxBytes + 1 - bytes.size());
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            setError(error);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    if (bytes.size() > maxBytes) {
        if (refuseLarger) {
            return tooLarge();
        }
        bytes.resize(maxBytes);
    }
    ::close(fd);
    return bytes;
}

std::pair<std::string, std::string> splitFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// The file a save of path writes: path itself, or the target its chain of
// symbolic links ends at (which need not exist yet).
std::optional<std::string> saveTarget(std::string path, std::string* error) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return path;
        }
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) {
            setError(error);
            return std::nullopt;
        }
        if (static_cast<size_t>(n) >= target.size()) {
            continue;  // the link changed while read: read it again
        }
        target.resize(static_cast<size_t>(n));
        if (!startsWith(target, "/")) {
            const std::string folder = splitFolder(path).first;
            target = (folder == "/" ? "" : folder) + "/" + target;
        }
        path = std::move(target);
    }
    errno = ELOOP;
    setError(error);
    return std::nullopt;
}

// A save's temporary beside the file named base: "." base ".vollo-save-" and
// six characters of mkstemp; the name is cut so the whole stays a legal name.
constexpr std::string_view kTempMark = ".vollo-save-";
constexpr size_t kTempRandom = 6;

std::string temporaryPrefix(const std::string& base) {
    const size_t room = NAME_MAX - 1 - kTempMark.size() - kTempRandom;
    return "." + base.substr(0, room) + std::string(kTempMark);
}

bool isTemporaryName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + kTempRandom || !startsWith(name, prefix)) {
        return false;
    }
    for (const char c : name.substr(prefix.size())) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

// Removes folder's temporaries of base that no process holds locked (a save
// keeps its temporary locked until the rename).
void removeTemporaries(const std::string& folder, const std::string& base) {
    const std::string prefix = temporaryPrefix(base);
    DIR* d = ::opendir(folder.c_str());
    if (!d) {
        return;
    }
    const int dfd = ::dirfd(d);
    while (const dirent* entry = ::readdir(d)) {
        if (!isTemporaryName(entry->d_name, prefix)) {
            continue;
        }
        const int fd =
            ::openat(dfd, entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) {
            continue;
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(dfd, entry->d_name, 0);
        }
        ::close(fd);
    }
    ::closedir(d);
}

// Creates, opens and locks a new temporary; -1 on failure.
int createTemporary(const std::string& folder, const std::string& base, std::vector<char>& name) {
    const std::string pattern = (folder == "/" ? "" : folder) + "/" + temporaryPrefix(base) + "XXXXXX";
    for (int attempt = 0; attempt < 8; ++attempt) {
        name.assign(pattern.begin(), pattern.end());
        name.push_back('\0');
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            return -1;
        }
        // Between creating and locking, a clean-up may have taken the name away.
        struct stat mine {
        }, named{};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &mine) == 0 && ::stat(name.data(), &named) == 0 &&
            mine.st_dev == named.st_dev && mine.st_ino == named.st_ino) {
            return fd;
        }
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path, std::string* error, size_t maxBytes) {
    return readOrdinaryFile(path, error, maxBytes, true);
}

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    forEachLine(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* error,
                                                      size_t maxBytes) {
    auto bytes = readOrdinaryFile(path, error, maxBytes, false);
    if (!bytes) {
        return std::nullopt;
    }
    return splitLines(*bytes);
}

bool writeFileAtomic(const std::string& path, const std::string& bytes, std::string* error) {
    const auto target = saveTarget(path, error);
    if (!target) {
        return false;
    }
    struct stat old {};
    const bool replacing = ::stat(target->c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) {
        errno = EISDIR;
        S_ISDIR(old.st_mode) ? setError(error) : setError(error, kNotOrdinary);
        return false;
    }
    // Only what could be written in place may be replaced; root is held to
    // the permission bits too, so a read-only file stays read-only.
    if (replacing && (::access(target->c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0)) {
        errno = EACCES;
        setError(error);
        return false;
    }
    const auto [folder, base] = splitFolder(*target);
    std::vector<char> name;
    const int fd = createTemporary(folder, base, name);
    if (fd < 0) {
        setError(error);
        return false;
    }
    bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    int savedErrno = errno;
    // The old file's permissions and owner; a new file gets the usual 0644.
    if (written && ::fchmod(fd, replacing ? (old.st_mode & 07777) : 0644) != 0) {
        written = false;
        savedErrno = errno;
    }
    if (written && replacing && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Someone else's file keeps its owner or is not replaced; a group that
        // cannot be kept is no reason to fail.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && old.st_uid != ::geteuid()) {
            written = false;
            savedErrno = errno;
        }
    }
    if (written && ::rename(name.data(), target->c_str()) != 0) {
        written = false;
        savedErrno = errno;
    }
    if (!written) {
        ::unlink(name.data());
        ::close(fd);
        errno = savedErrno;
        setError(error);
        return false;
    }
    ::close(fd);
    removeTemporaries(folder, base);
    return true;
}

void removeStaleTemporaries(const std::string& path) {
    if (const auto target = saveTarget(path, nullptr)) {
        const auto [folder, base] = splitFolder(*target);
        removeTemporaries(folder, base);
    }
}

bool writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines,
                          std::string* error) {
    std::string bytes;
    size_t total = 0;
    for (const auto& line : lines) {
        total += line.size() + 2;
    }
    bytes.reserve(total);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return writeFileAtomic(path, bytes, error);
}

namespace {

// Calls onEntry(name) for each non-hidden entry of dir whose type (links
// followed) keep accepts; false when dir cannot be opened.
template <class Keep, class OnEntry>
bool forEachEntry(const std::string& dir, Keep keep, OnEntry&& onEntry) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) {
        return false;
    }
    const int dfd = ::dirfd(d);
    while (const dirent* entry = ::readdir(d)) {
        if (entry->d_name[0] == '.') {
            continue;  // hidden files, "." and ".."
        }
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat st {};
            if (::fstatat(dfd, entry->d_name, &st, 0) != 0) {
                continue;
            }
            type = S_ISREG(st.st_mode) ? DT_REG : (S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN);
        }
        if (keep(type)) {
            onEntry(std::string_view(entry->d_name));
        }
    }
    ::closedir(d);
    return true;
}

bool isFile(unsigned char type) {
    return type == DT_REG;
}
bool isFolder(unsigned char type) {
    return type == DT_DIR;
}

}  // namespace

bool forEachFile(const std::string& dir, const std::function<void(std::string_view name)>& onFile) {
    return forEachEntry(dir, isFile, onFile);
}

std::vector<std::string> listFiles(const std::string& dir) {
    std::vector<std::string> names;
    forEachEntry(dir, isFile, [&names](std::string_view name) { names.emplace_back(name); });
    return names;
}

std::vector<std::string> listSubdirectories(const std::string& dir) {
    std::vector<std::string> names;
    forEachEntry(dir, isFolder, [&names](std::string_view name) { names.emplace_back(name); });
    std::sort(names.begin(), names.end(), sortedLess);
    return names;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::string currentDirectory() {
    std::string buffer(4096, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return ".";
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

std::string absolutePath(const std::string& path) {
    if (startsWith(path, "/")) {
        return path;
    }
    const std::string cwd = currentDirectory();
    return (cwd == "/" ? "" : cwd) + "/" + path;
}

std::string mountPointOfLine(const std::string& line) {
    // device mountpoint type options ...; blanks in names are written as \040.
    const size_t a = line.find(' ');
    if (a == std::string::npos) {
        return "";
    }
    const size_t b = line.find(' ', a + 1);
    std::string raw = line.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
    std::string point;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 3 < raw.size()) {
            const std::string octal = raw.substr(i + 1, 3);
            if (octal.size() == 3 && octal.find_first_not_of("01234567") == std::string::npos) {
                point += static_cast<char>(std::stoi(octal, nullptr, 8));
                i += 3;
                continue;
            }
        }
        point += raw[i];
    }
    const std::string type = b == std::string::npos ? "" : line.substr(b + 1, line.find(' ', b + 1) - b - 1);
    static const char* const pseudo[] = {
        "proc",        "sysfs",      "devpts",  "tmpfs", "cgroup",     "cgroup2",   "mqueue",   "debugfs",
        "tracefs",     "securityfs", "pstore",  "bpf",   "autofs",     "hugetlbfs", "configfs", "fusectl",
        "binfmt_misc", "devtmpfs",   "overlay", "nsfs",  "rpc_pipefs", "efivarfs"};
    if (std::find(std::begin(pseudo), std::end(pseudo), type) != std::end(pseudo)) {
        return "";
    }
    return point;
}

std::vector<std::string> mountPoints() {
    std::vector<std::string> points{"/"};
    const auto lines = readTextLines("/proc/self/mounts");
    if (!lines) {
        return points;
    }
    for (const auto& line : *lines) {
        const std::string point = mountPointOfLine(line);
        if (!point.empty() && std::find(points.begin(), points.end(), point) == points.end() &&
            isDirectory(point)) {
            points.push_back(point);
        }
    }
    return points;
}

bool LocalFolders::isDirectory(const std::string& path) {
    return vollo::isDirectory(path);
}

std::vector<std::string> LocalFolders::subdirectories(const std::string& dir) {
    return listSubdirectories(dir);
}

std::vector<std::string> LocalFolders::mountPoints() {
    return vollo::mountPoints();
}

}  // namespace vollo
